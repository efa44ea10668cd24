#include "session/service/FeedLoader.h"

#include "core/APIError.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <QCoroNetworkReply>

#include <memory>

namespace halvex {
namespace {

QCoro::Task<QByteArray> download(QUrl url, CancelToken token)
{
    static auto* network = new QNetworkAccessManager; // shared by every feed download
    QNetworkRequest request(url);
    request.setTransferTimeout(60'000);
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(network->get(request),
                                                                   [](QNetworkReply* r) { r->deleteLater(); });
    QNetworkReply* r = reply.get();
    auto subscription = token.onCancel([r] { r->abort(); });
    co_await r;
    token.throwIfCancelled();
    const int status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (r->error() != QNetworkReply::NoError && status == 0)
        throw APIError::transport(r->errorString());
    if (status < 200 || status > 299)
        throw APIError::server(status, QStringLiteral("HTTP %1").arg(status));
    co_return r->readAll();
}

} // namespace

FeedLoader plainHTTPFeedLoader() { return &download; }

} // namespace halvex
