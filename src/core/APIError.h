#pragma once
// The one error type of every request. Thrown out of coroutines and caught by view models,
// which show `description()`, stay silent on cancellations and treat `unauthorized` as a lost
// session.
#include <QString>

#include <exception>
#include <optional>

namespace halvex {

class APIError : public std::exception {
public:
    enum class Kind {
        unauthorized,
        paymentRequired,
        rateLimited,
        server,
        transport,
        decoding,
        csrf,
        alreadyHired,
        cancelled,
    };

    static APIError unauthorized(std::optional<QString> message = std::nullopt);
    static APIError paymentRequired(std::optional<double> required, std::optional<double> available);
    static APIError rateLimited(const QString& message);
    static APIError server(int status, const QString& message);
    static APIError transport(const QString& message);
    static APIError decoding(const QString& message);
    static APIError csrf(const QString& message);
    static APIError alreadyHired(const QString& existingAgentId, const QString& message);
    static APIError cancelled();

    Kind kind() const { return m_kind; }
    // The message payload: for unauthorized (may be absent), rateLimited, server, transport,
    // decoding, csrf and alreadyHired.
    std::optional<QString> message() const { return m_message; }
    int status() const { return m_status; }
    std::optional<double> required() const { return m_required; }
    std::optional<double> available() const { return m_available; }
    QString existingAgentId() const { return m_existingAgentId; }

    // The text shown to the user; empty for a cancellation.
    QString description() const;
    const char* what() const noexcept override;

    bool operator==(const APIError& other) const;

private:
    explicit APIError(Kind kind) : m_kind(kind) {}
    Kind m_kind;
    std::optional<QString> m_message;
    int m_status = 0;
    std::optional<double> m_required;
    std::optional<double> m_available;
    QString m_existingAgentId;
    mutable QByteArray m_what;
};

// True for APIError::cancelled, a cancelled reply (mapped to it) and a coroutine cancellation.
bool isCancellation(const std::exception& error);
bool isCancellation(const std::exception_ptr& error);

// The standard error text for any exception caught in a view model.
QString errorText(const std::exception& error);

} // namespace halvex
