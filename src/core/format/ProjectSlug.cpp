#include "core/format/ProjectSlug.h"

#include "core/format/TextFolding.h"

#include <QHash>
#include <QList>

namespace halvex::ProjectSlug {
namespace {

constexpr int kMaxLength = 120;

const QHash<char32_t, QString>& cyrillicTable()
{
    static const QHash<char32_t, QString> table{
        {U'а', QStringLiteral("a")},   {U'б', QStringLiteral("b")},
        {U'в', QStringLiteral("v")},   {U'г', QStringLiteral("g")},
        {U'д', QStringLiteral("d")},   {U'е', QStringLiteral("e")},
        {U'ё', QStringLiteral("e")},   {U'ж', QStringLiteral("zh")},
        {U'з', QStringLiteral("z")},   {U'и', QStringLiteral("i")},
        {U'й', QStringLiteral("i")},   {U'к', QStringLiteral("k")},
        {U'л', QStringLiteral("l")},   {U'м', QStringLiteral("m")},
        {U'н', QStringLiteral("n")},   {U'о', QStringLiteral("o")},
        {U'п', QStringLiteral("p")},   {U'р', QStringLiteral("r")},
        {U'с', QStringLiteral("s")},   {U'т', QStringLiteral("t")},
        {U'у', QStringLiteral("u")},   {U'ф', QStringLiteral("f")},
        {U'х', QStringLiteral("h")},   {U'ц', QStringLiteral("ts")},
        {U'ч', QStringLiteral("ch")},  {U'ш', QStringLiteral("sh")},
        {U'щ', QStringLiteral("sch")}, {U'ъ', QString()},
        {U'ы', QStringLiteral("y")},   {U'ь', QString()},
        {U'э', QStringLiteral("e")},   {U'ю', QStringLiteral("yu")},
        {U'я', QStringLiteral("ya")},  {U'і', QStringLiteral("i")},
        {U'ї', QStringLiteral("yi")},  {U'є', QStringLiteral("ye")},
        {U'ґ', QStringLiteral("g")},
    };
    return table;
}

bool isAsciiAlnum(char32_t c)
{
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9');
}

} // namespace

QString ascii(const QString& text)
{
    const QString folded = TextFolding::foldCaseAndDiacritics(text);
    QString out;
    bool pendingSeparator = false;
    for (const char32_t c : folded.toUcs4()) {
        if (!isAsciiAlnum(c)) {
            pendingSeparator = true;
            continue;
        }
        if (pendingSeparator && !out.isEmpty())
            out.append(QLatin1Char('-'));
        pendingSeparator = false;
        out.append(QLatin1Char(char(c)));
        if (out.size() > kMaxLength - 1)
            break;
    }
    out.truncate(kMaxLength);
    // The cut may land just after a separator; a slug never ends in one.
    while (out.endsWith(QLatin1Char('-')))
        out.chop(1);
    return out;
}

QString transliterated(const QString& text)
{
    const QString lower = text.toLower();
    const auto& table = cyrillicTable();
    QString out;
    out.reserve(lower.size());
    for (const char32_t c : lower.toUcs4()) {
        if (const auto found = table.constFind(c); found != table.cend())
            out.append(*found);
        else
            out.append(QString::fromUcs4(&c, 1));
    }
    return out;
}

std::optional<QString> from(const QString& name)
{
    const QString plain = ascii(name);
    const QString latin = ascii(transliterated(name));
    const QString chosen = (!latin.isEmpty() && latin.size() > plain.size()) ? latin : plain;
    if (chosen == u"group")
        return std::nullopt;
    return chosen;
}

} // namespace halvex::ProjectSlug
