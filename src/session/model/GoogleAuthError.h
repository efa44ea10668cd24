#pragma once
// How a Google sign-in attempt can end other than with an ID token.
#include <QByteArray>
#include <QString>

#include <exception>

namespace halvex {

class GoogleAuthError : public std::exception {
public:
    enum class Kind { failed, notConfigured, cancelled };

    static GoogleAuthError failed(const QString& reason);
    static GoogleAuthError notConfigured();
    static GoogleAuthError cancelled();

    Kind kind() const { return m_kind; }
    QString reason() const { return m_reason; }
    QString description() const;
    const char* what() const noexcept override { return m_what.constData(); }

private:
    GoogleAuthError(Kind kind, QString reason);
    Kind m_kind;
    QString m_reason;
    QByteArray m_what;
};

} // namespace halvex
