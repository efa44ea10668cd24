#include "core/format/GroupSlug.h"
#include "core/format/Characters.h"

#include "core/format/TextFolding.h"

#include <QRegularExpression>

namespace halvex::GroupSlug {

QString slug(const QString& name)
{
    static const QRegularExpression nonWord(QStringLiteral("[^a-z0-9]+"));
    static const QRegularExpression edgeDashes(QStringLiteral("^-+|-+$"));
    QString out = TextFolding::foldCaseAndDiacritics(name);
    out.replace(nonWord, QStringLiteral("-"));
    out.remove(edgeDashes);
    out.truncate(120);
    // The cut may land just after a separator; a slug never ends in one.
    while (out.endsWith(QLatin1Char('-')))
        out.chop(1);
    return out.isEmpty() ? QStringLiteral("group") : out;
}

std::optional<QString> normalize(const std::optional<QString>& raw)
{
    static const QRegularExpression whitespace(QStringLiteral("\\s+"));
    if (!raw)
        return std::nullopt;
    QString label = raw->trimmed();
    label.replace(whitespace, QStringLiteral(" "));
    if (label.isEmpty())
        return std::nullopt;
    return leftCharacters(label, 80);
}

} // namespace halvex::GroupSlug
