#pragma once
// Proof-key material of the authorization-code flow: verifier, S256 challenge, state and nonce.
#include <QByteArray>
#include <QString>

namespace halvex::Pkce {

// `byteCount` secure random bytes as unpadded base64url text (64 bytes give 86 characters).
QString randomURLSafe(int byteCount);
// Unpadded base64url of the SHA-256 of the verifier's UTF-8 bytes (43 characters).
QString challenge(const QString& verifier);
QString base64URL(const QByteArray& bytes);

} // namespace halvex::Pkce
