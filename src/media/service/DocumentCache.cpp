#include "media/service/DocumentCache.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace halvex::DocumentCache {

QString dir()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    const QString folder = QDir(base).filePath(QStringLiteral("DocumentRouter"));
    QDir().mkpath(folder);
    return folder;
}

QCoro::Task<QString> fetch(APIClient& api, std::optional<QString> name, QUrl url, CancelToken token)
{
    APIClient::Request get = api.makeRequest("GET", QString());
    get.url = url;
    const QByteArray bytes = co_await api.send(std::move(get), std::move(token));
    if (bytes.size() > maxBytes)
        throw TooLarge(bytes.size());
    const QString path = QDir(dir()).filePath(safeFileName(name, url));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw APIError::transport(QStringLiteral("The document could not be saved: ") + file.errorString());
    co_return path;
}

} // namespace halvex::DocumentCache
