#include "projects/service/ProjectUploader.h"

#include "core/format/MimeType.h"
#include "core/net/APIClient.h"
#include "projects/service/ProjectService.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUuid>

namespace halvex {

namespace {

QString tooManyFilesMessage()
{
    return QStringLiteral("Up to ") + QString::number(ProjectUploader::maxFiles)
        + QStringLiteral(" files can be uploaded at once.");
}

// Reads one file or says why it cannot go.
std::optional<ProjectUploader::Failed> readPart(const QUrl& url, ProjectUploader::Part& part)
{
    const QFileInfo info(url.toLocalFile());
    part.fileName = info.fileName();
    part.mime = MimeType::from(part.fileName);
    if (info.exists() && info.size() > ProjectUploader::maxFileBytes)
        return ProjectUploader::Failed{part.fileName, QStringLiteral("File too large (max 10 MB).")};
    QFile file(info.filePath());
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return ProjectUploader::Failed{part.fileName, QStringLiteral("File could not be read.")};
    // Read at most one byte past the limit: a file that grew after the size check is still refused.
    part.data = file.read(ProjectUploader::maxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return ProjectUploader::Failed{part.fileName, QStringLiteral("File could not be read.")};
    if (part.data.size() > ProjectUploader::maxFileBytes)
        return ProjectUploader::Failed{part.fileName, QStringLiteral("File too large (max 10 MB).")};
    return std::nullopt;
}

} // namespace

ProjectUploader::Failed ProjectUploader::Failed::decode(const JsonReader& json)
{
    return {json.required<QString>("name"), json.required<QString>("error")};
}

ProjectUploader::Response ProjectUploader::Response::decode(const JsonReader& json)
{
    return {json.optional<QList<ProjectFile>>("files"), json.optional<QList<Failed>>("failed")};
}

ProjectUploader::Selection ProjectUploader::selection(const QList<QUrl>& urls)
{
    Selection s;
    QSet<QString> seen;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (seen.contains(path))
            continue;
        seen.insert(path);
        if (s.files.size() < maxFiles)
            s.files.append(url);
        else
            ++s.overflow;
    }
    return s;
}

QString ProjectUploader::newBoundary()
{
    return QStringLiteral("hx-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString ProjectUploader::headerSafeFileName(const QString& name)
{
    QString safe;
    safe.reserve(name.size());
    for (const QChar c : name) {
        if (c == u'"')
            safe += QStringLiteral("%22");
        else if (c == u'\r')
            safe += QStringLiteral("%0D");
        else if (c == u'\n')
            safe += QStringLiteral("%0A");
        else
            safe += c;
    }
    return safe;
}

QByteArray ProjectUploader::body(const QList<Part>& parts, const QString& boundary)
{
    const QByteArray b = boundary.toUtf8();
    QByteArray out;
    for (const Part& p : parts) {
        out += "--" + b + "\r\n";
        out += "Content-Disposition: form-data; name=\"files\"; filename=\"" + headerSafeFileName(p.fileName).toUtf8()
            + "\"\r\n";
        out += "Content-Type: " + p.mime.toUtf8() + "\r\n\r\n";
        out += p.data;
        out += "\r\n";
    }
    out += "--" + b + "--\r\n";
    return out;
}

QCoro::Task<ProjectUploader::Response> ProjectUploader::upload(QList<QUrl> files, QString slug, APIClient& api,
                                                               CancelToken token)
{
    const Selection chosen = selection(files);
    QList<Failed> localFailures;
    if (chosen.overflow > 0)
        localFailures.append({QStringLiteral("Selection"), tooManyFilesMessage()});
    QList<Part> parts;
    for (const QUrl& url : chosen.files) {
        Part part;
        if (auto failure = readPart(url, part))
            localFailures.append(*failure);
        else
            parts.append(std::move(part));
    }
    if (parts.isEmpty())
        co_return Response{std::nullopt, localFailures};

    const QString boundary = newBoundary();
    APIClient::Request request = api.makeRequest("POST", ProjectService::projectPath(slug) + QStringLiteral("/files"));
    request.contentType = "multipart/form-data; boundary=" + boundary.toUtf8();
    request.body = body(parts, boundary);
    parts.clear();
    const QByteArray data = co_await api.send(std::move(request), std::move(token));
    Response response = decodeJSON<Response>(data);
    if (!localFailures.isEmpty())
        response.failed = localFailures + response.failed.value_or(QList<Failed>{});
    co_return response;
}

} // namespace halvex
