#include "media/service/RemoteImageStore.h"

#include <QBuffer>
#include <QCache>
#include <QFuture>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <qcorofuture.h>
#include <qcoronetworkreply.h>

namespace halvex {

namespace RemoteImageProcessor {

bool acceptsType(const QString& mime)
{
    const QString type = mime.trimmed().toLower().section(QLatin1Char(';'), 0, 0).trimmed();
    return type.isEmpty() || type.startsWith(QLatin1String("image/")) || type == u"application/octet-stream"
        || type == u"binary/octet-stream";
}

QImage image(const QByteArray& bytes, const RemoteImageRequest& request)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QSize source = reader.size();
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        source.transpose();
    const QSize out = request.outputSize(source.isValid() ? source : request.pixels);
    if (!out.isValid())
        return {};
    // Square and fixed boxes are filled (cropped to the middle); artifacts keep their shape.
    QSize decodeAt = out;
    if (source.isValid() && request.variant != RemoteImageRequest::Variant::artifact)
        decodeAt = source.scaled(out, Qt::KeepAspectRatioByExpanding);
    if (source.isValid() && !(reader.transformation() & QImageIOHandler::TransformationRotate90))
        reader.setScaledSize(decodeAt);
    QImage decoded = reader.read();
    if (decoded.isNull())
        return {};
    if (decoded.size() != decodeAt)
        decoded = decoded.scaled(decodeAt, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (decoded.size() == out)
        return decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage canvas(out, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QPoint((out.width() - decoded.width()) / 2, (out.height() - decoded.height()) / 2), decoded);
    return canvas;
}

} // namespace RemoteImageProcessor

namespace RemoteImageStore {

namespace {

struct State {
    // The cost is the raster size in bytes; the count limit is kept beside it.
    QCache<QString, QImage> cache{maxCostBytes};
    QList<QString> order; // oldest first, for the count limit
    // Loads under way; every waiter of a key awaits the same future. Touched on the GUI thread only.
    QHash<QString, QFuture<QImage>> inflight;
    int downloads = 0;
};

State& state()
{
    static State s;
    return s;
}

void remember(const QString& key, const QImage& image)
{
    State& s = state();
    const qint64 cost = qMax<qint64>(0, qint64(image.width()) * image.height() * 4);
    if (cost > maxCostBytes)
        return;
    s.order.removeAll(key);
    s.cache.insert(key, new QImage(image), cost);
    s.order.append(key);
    while (s.order.size() > maxEntries)
        s.cache.remove(s.order.takeFirst());
}

// The bytes of an acceptable answer: a 2xx status, an image type (or none said), at most 32 MiB.
QCoro::Task<std::optional<QByteArray>> download(QNetworkAccessManager& network, QUrl url)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(60'000);
    QNetworkReply* reply = network.get(request);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received > maxDownloadBytes || total > maxDownloadBytes)
            reply->abort();
    });
    co_await qCoro(reply).waitForFinished();
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString type = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    if (reply->error() != QNetworkReply::NoError || (status != 0 && (status < 200 || status > 299))
        || !RemoteImageProcessor::acceptsType(type))
        co_return std::nullopt;
    QByteArray body = reply->readAll();
    if (body.size() > maxDownloadBytes)
        co_return std::nullopt;
    co_return body;
}

QCoro::Task<void> fetch(APIClient& api, RemoteImageRequest request, std::shared_ptr<QPromise<QImage>> promise)
{
    ++state().downloads;
    const std::optional<QByteArray> body = co_await download(api.network(), request.url);
    QImage result;
    if (body) {
        QFuture<QImage> decoding
            = QtConcurrent::run([bytes = *body, request] { return RemoteImageProcessor::image(bytes, request); });
        result = co_await decoding;
    }
    // A failure is not cached, so the next request tries again.
    promise->addResult(result);
    promise->finish();
}

} // namespace

QCoro::Task<std::optional<QImage>> load(APIClient& api, RemoteImageRequest request)
{
    const QString key = request.cacheKey();
    State& s = state();
    if (const QImage* cached = s.cache.object(key))
        co_return *cached;
    QFuture<QImage> pending = s.inflight.value(key);
    if (!s.inflight.contains(key)) {
        auto promise = std::make_shared<QPromise<QImage>>();
        promise->start();
        pending = promise->future();
        s.inflight.insert(key, pending);
        QCoro::Task<void> download = fetch(api, request, promise);
        Q_UNUSED(download);
    }
    const QImage image = co_await pending;
    state().inflight.remove(key);
    if (image.isNull())
        co_return std::nullopt;
    remember(key, image);
    co_return image;
}

void clear()
{
    state().cache.clear();
    state().order.clear();
}

int cachedCount() { return int(state().cache.size()); }
int downloadCount() { return state().downloads; }

} // namespace RemoteImageStore

} // namespace halvex
