#include "chat/viewmodel/ChatSuggestions.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace halvex::ChatSuggestions {

namespace {

struct FallbackEntry {
    QStringList prompts;
    QString teamLine;
    QStringList secondary;
};

QStringList list(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* item : items)
        out.append(QString::fromUtf8(item));
    return out;
}

const QHash<QString, FallbackEntry>& table()
{
    static const QHash<QString, FallbackEntry> entries = [] {
        QHash<QString, FallbackEntry> t;
        const FallbackEntry english{
            list({"continue the work", "find the next action", "verify the key fact", "prepare the next result"}),
            QStringLiteral("coordinate owners and handoff"),
            list({"show progress", "name the blocker", "request the needed decision",
                  "prove the result with evidence"})};
        // The service normally supplies suggestions; languages without their own prompts read English.
        for (const char* code : {"en", "zh", "ja", "ko", "ar", "hi", "id", "tr", "vi"})
            t.insert(QString::fromLatin1(code), english);
        t.insert(
            QStringLiteral("ru"),
            {list({"продолжи работу", "найди следующий шаг", "проверь ключевой факт", "подготовь следующий результат"}),
             QString::fromUtf8("согласуй исполнителей и передачу"),
             list({"покажи прогресс", "назови препятствие", "запроси нужное решение", "подтверди результат фактами"})});
        t.insert(
            QStringLiteral("uk"),
            {list({"продовж роботу", "знайди наступний крок", "перевір ключовий факт", "підготуй наступний результат"}),
             QString::fromUtf8("узгодь виконавців і передачу"),
             list({"покажи прогрес", "назви перешкоду", "запроси потрібне рішення", "підтверди результат фактами"})});
        t.insert(QStringLiteral("es"),
                 {list({"continúa el trabajo", "encuentra la siguiente acción", "verifica el dato clave",
                        "prepara el siguiente resultado"}),
                  QString::fromUtf8("coordina responsables y traspaso"),
                  list({"muestra el progreso", "nombra el bloqueo", "pide la decisión necesaria",
                        "demuestra el resultado con pruebas"})});
        t.insert(QStringLiteral("fr"),
                 {list({"continue le travail", "trouve la prochaine action", "vérifie le fait clé",
                        "prépare le prochain résultat"}),
                  QString::fromUtf8("coordonne les responsables et le relais"),
                  list({"montre l’avancement", "nomme le blocage", "demande la décision nécessaire",
                        "prouve le résultat"})});
        t.insert(QStringLiteral("de"),
                 {list({"setze die Arbeit fort", "finde den nächsten Schritt", "prüfe den Kernfakt",
                        "bereite das nächste Ergebnis vor"}),
                  QString::fromUtf8("koordiniere Verantwortliche und Übergabe"),
                  list({"zeige den Fortschritt", "nenne das Hindernis", "fordere die nötige Entscheidung an",
                        "belege das Ergebnis"})});
        t.insert(
            QStringLiteral("pt"),
            {list({"continue o trabalho", "encontre a próxima ação", "verifique o fato principal",
                   "prepare o próximo resultado"}),
             QString::fromUtf8("coordene responsáveis e passagem"),
             list({"mostre o progresso", "nomeie o bloqueio", "peça a decisão necessária", "comprove o resultado"})});
        t.insert(QStringLiteral("it"),
                 {list({"continua il lavoro", "trova la prossima azione", "verifica il fatto chiave",
                        "prepara il prossimo risultato"}),
                  QString::fromUtf8("coordina responsabili e passaggio"),
                  list({"mostra i progressi", "indica il blocco", "chiedi la decisione necessaria",
                        "dimostra il risultato"})});
        return t;
    }();
    return entries;
}

} // namespace

QString normalizeEntry(const QString& entry)
{
    static const QRegularExpression label(QString::fromUtf8("^[^—\\r\\n]{1,24}\\s+—\\s+"));
    QString text = entry.trimmed();
    text.remove(label);
    if (text.size() >= 49) {
        const QString cut = text.left(49);
        const qsizetype blank = cut.lastIndexOf(QLatin1Char(' '));
        text = blank >= 8 ? cut.left(blank) : text.left(48);
    }
    return text.trimmed();
}

QStringList normalize(const QStringList& entries)
{
    QStringList out;
    QSet<QString> seen;
    for (const QString& entry : entries) {
        const QString text = normalizeEntry(entry);
        if (text.size() < 4)
            continue;
        const QString folded = text.toCaseFolded();
        if (seen.contains(folded))
            continue;
        seen.insert(folded);
        out.append(text);
        if (out.size() == maxEntries)
            break;
    }
    return out;
}

QStringList fallback(const QString& language, bool team)
{
    const auto& entries = table();
    const auto found = entries.constFind(language.left(2).toLower());
    const FallbackEntry& entry = found == entries.constEnd() ? entries[QStringLiteral("en")] : *found;
    QStringList prompts = entry.prompts;
    if (team)
        prompts[3] = entry.teamLine;
    return prompts;
}

} // namespace halvex::ChatSuggestions
