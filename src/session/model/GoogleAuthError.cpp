#include "session/model/GoogleAuthError.h"

namespace halvex {

GoogleAuthError::GoogleAuthError(Kind kind, QString reason) : m_kind(kind), m_reason(std::move(reason))
{
    m_what = description().toUtf8();
}

GoogleAuthError GoogleAuthError::failed(const QString& reason) { return GoogleAuthError(Kind::failed, reason); }
GoogleAuthError GoogleAuthError::notConfigured() { return GoogleAuthError(Kind::notConfigured, {}); }
GoogleAuthError GoogleAuthError::cancelled() { return GoogleAuthError(Kind::cancelled, {}); }

QString GoogleAuthError::description() const
{
    switch (m_kind) {
    case Kind::failed:
        return QStringLiteral("Google sign-in failed: ") + m_reason;
    case Kind::notConfigured:
        return QStringLiteral(
            "Google sign-in is not configured (set GoogleAuth.clientID + URL scheme in project.yml).");
    case Kind::cancelled:
        return QStringLiteral("Cancelled.");
    }
    return {};
}

} // namespace halvex
