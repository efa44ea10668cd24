#include "create/model/ClarifyRounds.h"

#include "core/format/Characters.h"

#include <QRegularExpression>

namespace halvex {

namespace ClarifyRounds {

QList<QList<ClarifyQuestion>> pages(const QList<ClarifyQuestion>& questions)
{
    const qsizetype n = questions.size();
    if (n == 0)
        return {};
    const qsizetype count = n < 4 ? 1 : n <= 6 ? 2 : 3;
    const qsizetype base = n / count;
    const qsizetype extra = n - base * count;
    QList<QList<ClarifyQuestion>> out;
    qsizetype at = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype size = base + (i < extra ? 1 : 0);
        out.append(questions.mid(at, size));
        at += size;
    }
    return out;
}

QString pageTitle(int page, int pageCount, CreateKind kind)
{
    if (page < 0 || page >= pageCount)
        return QStringLiteral("A few details");
    const QString first = kind == CreateKind::solo ? QStringLiteral("Role & scope") : QStringLiteral("Scope & roles");
    if (pageCount == 1)
        return QStringLiteral("A few details");
    QString title = first;
    if (pageCount == 2 && page == 1)
        title = QStringLiteral("Workflow & result");
    else if (pageCount >= 3 && page == 1)
        title = QStringLiteral("Inputs & workflow");
    else if (pageCount >= 3 && page == 2)
        title = QStringLiteral("Delivery & quality");
    return title + QStringLiteral(" · ") + QString::number(page + 1) + QStringLiteral(" of ")
        + QString::number(pageCount);
}

QString pageSubtitle(int page, int pageCount, CreateKind kind)
{
    const QString subject = kind == CreateKind::solo ? QStringLiteral("employee") : QStringLiteral("team");
    if (pageCount <= 1)
        return QStringLiteral("Only the decisions that change your ") + subject + QStringLiteral(".");
    if (page == 0)
        return QStringLiteral("First, sharpen what this ") + subject + QStringLiteral(" owns.");
    if (pageCount == 2)
        return QStringLiteral("Now define how the work should run and land.");
    if (page == 1)
        return QStringLiteral("What it gets to work with, and how the work flows.");
    return QStringLiteral("How the result should land — and what good looks like.");
}

QString answerFor(const ClarifyQuestion& question, const QStringList& chosen, const QString& typedText)
{
    const QString typed = typedText.trimmed();
    QString answer;
    if (question.multiSelect.value_or(false)) {
        QStringList parts = chosen;
        if (!typed.isEmpty() && !parts.contains(typed))
            parts << typed;
        answer = parts.join(QStringLiteral(", "));
    } else {
        answer = !typed.isEmpty() ? typed : chosen.value(0);
    }
    return leftCharacters(answer, 400);
}

bool hasCyrillic(const QString& text)
{
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    return text.contains(cyrillic);
}

QString identityName(const std::optional<QString>& name, const QString& brief)
{
    const QString trimmed = name.value_or(QString()).trimmed();
    if (!trimmed.isEmpty() && characterCount(trimmed) <= 20
        && trimmed.split(QLatin1Char(' '), Qt::SkipEmptyParts).size() < 3)
        return trimmed;
    static const QStringList latin{QStringLiteral("Arlo"), QStringLiteral("Aya"),  QStringLiteral("Iris"),
                                   QStringLiteral("Kai"),  QStringLiteral("Lena"), QStringLiteral("Leo"),
                                   QStringLiteral("Milo"), QStringLiteral("Mira"), QStringLiteral("Nora"),
                                   QStringLiteral("Nova"), QStringLiteral("Sage"), QStringLiteral("Theo")};
    static const QStringList cyrillic{QStringLiteral("Ася"),  QStringLiteral("Вера"), QStringLiteral("Ева"),
                                      QStringLiteral("Зоя"),  QStringLiteral("Лада"), QStringLiteral("Лея"),
                                      QStringLiteral("Лина"), QStringLiteral("Майя"), QStringLiteral("Мира"),
                                      QStringLiteral("Ника"), QStringLiteral("Тая"),  QStringLiteral("Яна")};
    const QStringList& names = hasCyrillic(brief) ? cyrillic : latin;
    if (brief.isEmpty())
        return names.first();
    quint32 h = 0;
    for (const char32_t c : brief.toUcs4())
        h = (31 * h + c) % 65536;
    return names.at(int(h % 12));
}

} // namespace ClarifyRounds

namespace CreateFlowProgress {

QStringList stageTitles()
{
    return {QStringLiteral("Brief"), QStringLiteral("Design"), QStringLiteral("Details"), QStringLiteral("Review"),
            QStringLiteral("Ready")};
}

QList<CreateFlowStageStatus> statuses(CreateFlowStep step, bool creating, int round)
{
    using S = CreateFlowStageStatus;
    const S details = round < 2 ? S::skipped : S::completed;
    switch (step) {
    case CreateFlowStep::describe:
        return {S::active, S::pending, S::pending, S::pending, S::pending};
    case CreateFlowStep::generating:
        if (creating)
            return {S::completed, S::completed, details, S::completed, S::active};
        return {S::completed, S::active, S::pending, S::pending, S::pending};
    case CreateFlowStep::clarify:
        return {S::completed, S::completed, S::active, S::pending, S::pending};
    case CreateFlowStep::review:
        return {S::completed, S::completed, details, S::active, S::pending};
    case CreateFlowStep::done:
        return {S::completed, S::completed, details, S::completed, S::completed};
    }
    return {};
}

} // namespace CreateFlowProgress

} // namespace halvex
