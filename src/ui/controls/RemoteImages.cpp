#include "ui/controls/RemoteImages.h"

#include "media/service/RemoteImageStore.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QThread>

namespace halvex {

namespace {

class RemoteImageResponse : public QQuickImageResponse {
public:
    QQuickTextureFactory* textureFactory() const override
    {
        return QQuickTextureFactory::textureFactoryForImage(m_image);
    }
    QString errorString() const override { return m_image.isNull() ? QStringLiteral("Image unavailable") : QString(); }

    void finish(QImage image)
    {
        m_image = std::move(image);
        Q_EMIT finished();
    }

private:
    QImage m_image;
};

std::optional<RemoteImageRequest> parse(const QString& id)
{
    const QStringList parts = id.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return std::nullopt;
    const QStringList size = parts[1].split(QLatin1Char('x'));
    bool wOk = false, hOk = false;
    const int w = size.value(0).toInt(&wOk), h = size.value(1).toInt(&hOk);
    const QUrl url(QUrl::fromPercentEncoding(parts[2].toUtf8()));
    const QString scheme = url.scheme().toLower();
    if (!wOk || !hOk || w < 1 || h < 1 || w > 4096 || h > 4096 || (scheme != u"http" && scheme != u"https"))
        return std::nullopt;
    if (parts[0] == u"avatar")
        return RemoteImageRequest::avatar(url, w);
    if (parts[0] == u"badge")
        return RemoteImageRequest::badge(url, w);
    if (parts[0] == u"thumbnail")
        return RemoteImageRequest::thumbnail(url, {w, h});
    if (parts[0] == u"artifact")
        return RemoteImageRequest::artifact(url, {w, h});
    return std::nullopt;
}

QCoro::Task<void> fill(APIClient& api, RemoteImageRequest request, QPointer<RemoteImageResponse> response)
{
    const std::optional<QImage> image = co_await RemoteImageStore::load(api, request);
    if (response)
        response->finish(image.value_or(QImage()));
}

} // namespace

QQuickImageResponse* RemoteImages::requestImageResponse(const QString& id, const QSize&)
{
    auto* response = new RemoteImageResponse;
    // The response lives on the GUI thread, where the store and the network live; the engine
    // deletes it there with deleteLater, which the pointer in the load sees.
    response->moveToThread(QCoreApplication::instance()->thread());
    const std::optional<RemoteImageRequest> request = parse(id);
    APIClient* api = &m_api;
    QPointer<RemoteImageResponse> guarded(response);
    // Queued on the client's network manager: a request still queued when the client goes (a
    // window closed with pictures loading) is dropped with it instead of reaching a dead client.
    QMetaObject::invokeMethod(
        &m_api.network(),
        [api, request, guarded] {
            if (!guarded)
                return;
            if (!request) {
                guarded->finish({});
                return;
            }
            QCoro::Task<void> loading = fill(*api, *request, guarded);
            Q_UNUSED(loading);
        },
        Qt::QueuedConnection);
    return response;
}

} // namespace halvex
