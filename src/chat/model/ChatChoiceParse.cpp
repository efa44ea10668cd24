#include "chat/model/ChatChoiceParse.h"

#include <QRegularExpression>

namespace halvex {

ChatChoiceParse ChatChoiceParse::parse(const QString& text, const MessageMetadata& metadata)
{
    const auto fromMetadata = metadata.raw.value(QStringLiteral("choice_options"));
    if (fromMetadata.isArray()) {
        QStringList options;
        for (const JSONValue& v : fromMetadata.toArray())
            if (v.isString())
                options.append(v.toString());
        return {text, options};
    }
    static const QRegularExpression line(QStringLiteral("(?:^|\\n)[ \\t]*OPTIONS[ \\t]*:[ \\t]*([^\\n]*?)[ \\t]*$"),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(text);
    if (!match.hasMatch())
        return {text, {}};
    QStringList options;
    for (const QString& part : match.captured(1).split(QLatin1Char('|'))) {
        const QString option = part.trimmed();
        if (!option.isEmpty())
            options.append(option);
    }
    QString shown = text;
    shown.remove(match.capturedStart(0), match.capturedLength(0));
    return {shown, options};
}

} // namespace halvex
