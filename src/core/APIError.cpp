#include "core/APIError.h"

#include <QByteArray>

namespace halvex {

APIError APIError::unauthorized(std::optional<QString> message)
{
    APIError e(Kind::unauthorized);
    e.m_message = std::move(message);
    return e;
}

APIError APIError::paymentRequired(std::optional<double> required, std::optional<double> available)
{
    APIError e(Kind::paymentRequired);
    e.m_required = required;
    e.m_available = available;
    return e;
}

APIError APIError::rateLimited(const QString& message)
{
    APIError e(Kind::rateLimited);
    e.m_message = message;
    return e;
}

APIError APIError::server(int status, const QString& message)
{
    APIError e(Kind::server);
    e.m_status = status;
    e.m_message = message;
    return e;
}

APIError APIError::transport(const QString& message)
{
    APIError e(Kind::transport);
    e.m_message = message;
    return e;
}

APIError APIError::decoding(const QString& message)
{
    APIError e(Kind::decoding);
    e.m_message = message;
    return e;
}

APIError APIError::csrf(const QString& message)
{
    APIError e(Kind::csrf);
    e.m_message = message;
    return e;
}

APIError APIError::alreadyHired(const QString& existingAgentId, const QString& message)
{
    APIError e(Kind::alreadyHired);
    e.m_existingAgentId = existingAgentId;
    e.m_message = message;
    return e;
}

APIError APIError::cancelled() { return APIError(Kind::cancelled); }

QString APIError::description() const
{
    switch (m_kind) {
    case Kind::unauthorized:
        if (!m_message || m_message->isEmpty() || *m_message == QLatin1String("Unauthorized"))
            return QStringLiteral("Session expired — please sign in again.");
        return *m_message;
    case Kind::paymentRequired:
        return QStringLiteral("Payment required to run this agent.");
    case Kind::decoding:
        return QStringLiteral("Unexpected response: ") + m_message.value_or(QString());
    case Kind::rateLimited:
    case Kind::server:
    case Kind::transport:
    case Kind::csrf:
    case Kind::alreadyHired:
        return m_message.value_or(QString());
    case Kind::cancelled:
        return {};
    }
    return {};
}

const char* APIError::what() const noexcept
{
    if (m_what.isEmpty())
        m_what = m_kind == Kind::cancelled ? QByteArray("cancelled") : description().toUtf8();
    return m_what.constData();
}

bool APIError::operator==(const APIError& other) const
{
    return m_kind == other.m_kind && m_message == other.m_message && m_status == other.m_status
        && m_required == other.m_required && m_available == other.m_available
        && m_existingAgentId == other.m_existingAgentId;
}

bool isCancellation(const std::exception& error)
{
    const auto* api = dynamic_cast<const APIError*>(&error);
    return api && api->kind() == APIError::Kind::cancelled;
}

bool isCancellation(const std::exception_ptr& error)
{
    if (!error)
        return false;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return isCancellation(e);
    } catch (...) {
        return false;
    }
}

QString errorText(const std::exception& error)
{
    if (const auto* api = dynamic_cast<const APIError*>(&error))
        return api->description();
    return QString::fromUtf8(error.what());
}

} // namespace halvex
