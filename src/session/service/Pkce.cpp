#include "session/service/Pkce.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

#include <vector>

namespace halvex::Pkce {

QString base64URL(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QString randomURLSafe(int byteCount)
{
    // QRandomGenerator::system() reads the operating system's secure source.
    std::vector<quint32> words((byteCount + 3) / 4);
    QRandomGenerator::system()->fillRange(words.data(), qsizetype(words.size()));
    const QByteArray bytes(reinterpret_cast<const char*>(words.data()), byteCount);
    return base64URL(bytes);
}

QString challenge(const QString& verifier)
{
    return base64URL(QCryptographicHash::hash(verifier.toUtf8(), QCryptographicHash::Sha256));
}

} // namespace halvex::Pkce
