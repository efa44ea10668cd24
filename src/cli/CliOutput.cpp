#include "cli/CliOutput.h"

#include <cstdio>

namespace halvex::cli {

void CliOutput::line(const QString& text) const
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void CliOutput::object(const JSONObject& value) const
{
    const QByteArray bytes = encodeJSONObject(value);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void CliOutput::error(const QString& text) const
{
    if (m_json) {
        JSONObject o;
        o.insert(QStringLiteral("error"), text);
        const QByteArray bytes = encodeJSONObject(o);
        std::fprintf(stderr, "%s\n", bytes.constData());
    } else {
        std::fprintf(stderr, "halvex-cli: %s\n", text.toUtf8().constData());
    }
}

QString CliOutput::stepStatus(const ChatMessage& message)
{
    const JSONValue status = message.metadata.raw.value(QStringLiteral("status"));
    return status.isString() ? status.toString() : QString();
}

JSONObject CliOutput::messageJSON(const ChatMessage& message)
{
    JSONObject o;
    o.insert(QStringLiteral("id"), message.id);
    o.insert(QStringLiteral("role"), message.role);
    o.insert(QStringLiteral("content"), message.content);
    o.insert(QStringLiteral("metadata"), message.metadata.raw);
    if (message.createdAt)
        o.insert(QStringLiteral("created_at"), *message.createdAt);
    return o;
}

void CliOutput::message(const ChatMessage& message) const
{
    if (m_json) {
        object(messageJSON(message));
        return;
    }
    const QString status = stepStatus(message);
    if (message.isStep()) {
        line(QStringLiteral("  · ") + message.content.section(QLatin1Char('\n'), 0, 0)
             + (status.isEmpty() ? QString() : QStringLiteral(" [") + status + QLatin1Char(']')));
        return;
    }
    const QString who = message.isUser() ? QStringLiteral("you") : message.role;
    line(QStringLiteral("#") + QString::number(message.id) + QLatin1Char(' ') + who + QStringLiteral(": ")
         + message.content + (status.isEmpty() ? QString() : QStringLiteral(" [") + status + QLatin1Char(']')));
}

} // namespace halvex::cli
