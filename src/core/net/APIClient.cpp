#include "core/net/APIClient.h"

#include "core/Config.h"
#include "core/async/Clock.h"
#include "core/net/NetworkReachability.h"
#include "core/net/PersistentCookieJar.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

#include <QCoroNetworkReply>

#include <coroutine>

namespace halvex {
namespace {

struct ReplyDeleter {
    void operator()(QNetworkReply* reply) const { reply->deleteLater(); }
};

// Resumed once by whichever comes first: the network coming back, the deadline or cancellation.
class ConnectivityWait {
public:
    ConnectivityWait(NetworkReachability& reachability, Clock& clock, qint64 waitMs, CancelToken token)
        : m_reachability(reachability),
          m_clock(clock),
          m_waitMs(waitMs),
          m_token(std::move(token))
    {}
    ConnectivityWait(const ConnectivityWait&) = delete;
    ConnectivityWait& operator=(const ConnectivityWait&) = delete;
    ~ConnectivityWait() { QObject::disconnect(m_connection); }

    bool await_ready() const { return m_reachability.isOnline() || m_token.isCancelled(); }
    void await_suspend(std::coroutine_handle<> handle)
    {
        m_handle = handle;
        m_connection = QObject::connect(&m_reachability, &NetworkReachability::onlineChanged, &m_reachability,
                                        [this](bool online) {
                                            if (online)
                                                resume();
                                        });
        m_timer = m_clock.schedule(m_waitMs, [this] { resume(); });
        m_subscription = m_token.onCancel([this] { resume(); });
    }
    void await_resume() const
    {
        m_token.throwIfCancelled();
        if (!m_reachability.isOnline())
            throw APIError::transport(QStringLiteral("The Internet connection appears to be offline."));
    }

private:
    void resume()
    {
        if (!m_handle)
            return;
        auto handle = std::exchange(m_handle, {});
        QObject::disconnect(m_connection);
        m_timer.reset();
        m_subscription.reset();
        handle.resume();
    }

    NetworkReachability& m_reachability;
    Clock& m_clock;
    qint64 m_waitMs;
    CancelToken m_token;
    std::coroutine_handle<> m_handle;
    QMetaObject::Connection m_connection;
    std::unique_ptr<TimerHandle> m_timer;
    CancelSubscription m_subscription;
};

} // namespace

APIClient::APIClient(const QUrl& origin, QNetworkCookieJar* jar, Clock* clock, NetworkReachability* reachability)
    : m_origin(origin),
      m_originText(
          origin.toString(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::StripTrailingSlash)),
      m_network(std::make_unique<QNetworkAccessManager>()),
      m_clock(clock ? clock : &Clock::system()),
      m_reachability(reachability ? reachability : &NetworkReachability::system())
{
    QNetworkCookieJar* sharedJar = jar ? jar : &PersistentCookieJar::shared();
    // The manager adopts the jar it is given; keep the jar's own owner so that every manager of
    // the process (this client, each event stream) can share it.
    QObject* owner = sharedJar->parent();
    m_network->setCookieJar(sharedJar);
    sharedJar->setParent(owner);
    m_network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

APIClient::~APIClient()
{
    // The network manager deletes its replies without finishing them, which would leave every
    // request still waiting suspended for good: end them as cancellations first.
    // An abort still reports progress, which would arm each request's time-out again on a client
    // going away (after the application, for a static one): nobody listens to that any more.
    const QList<QNetworkReply*> replies = m_network->findChildren<QNetworkReply*>(Qt::FindDirectChildrenOnly);
    for (QNetworkReply* reply : replies) {
        if (!reply->isRunning())
            continue;
        QObject::disconnect(reply, &QNetworkReply::downloadProgress, nullptr, nullptr);
        QObject::disconnect(reply, &QNetworkReply::uploadProgress, nullptr, nullptr);
        reply->abort();
    }
}

APIClient& APIClient::shared()
{
    static auto* client = new APIClient(QUrl(Config::baseURL())); // never released
    return *client;
}

QUrl APIClient::url(const QString& path, const QueryItems& query) const
{
    return serviceURL(m_originText, path, query);
}

APIClient::Request APIClient::makeRequest(const QByteArray& method, const QString& path, const QueryItems& query) const
{
    Request request;
    request.method = method;
    request.url = url(path, query);
    return request;
}

APIClient::Request APIClient::makeJSONRequest(const QByteArray& method, const QString& path,
                                              const JSONObject& body) const
{
    Request request = makeRequest(method, path);
    request.contentType = QByteArrayLiteral("application/json");
    request.body = encodeJSONObject(body);
    return request;
}

APIClient::Request APIClient::makeMultipartRequest(const QString& path, const QList<MultipartFile>& files) const
{
    const QString boundary = newMultipartBoundary();
    Request request = makeRequest("POST", path);
    request.contentType = "multipart/form-data; boundary=" + boundary.toUtf8();
    request.body = multipartBody(files, boundary);
    return request;
}

QCoro::Task<QByteArray> APIClient::postJSONRaw(QString path, JSONObject body, CancelToken token)
{
    co_return co_await send(makeJSONRequest("POST", path, body), std::move(token));
}

QCoro::Task<QByteArray> APIClient::patchJSONRaw(QString path, JSONObject body, CancelToken token)
{
    co_return co_await send(makeJSONRequest("PATCH", path, body), std::move(token));
}

QCoro::Task<QByteArray> APIClient::putJSONRaw(QString path, JSONObject body, CancelToken token)
{
    co_return co_await send(makeJSONRequest("PUT", path, body), std::move(token));
}

QCoro::Task<QByteArray> APIClient::del(QString path, QueryItems query, CancelToken token)
{
    co_return co_await send(makeRequest("DELETE", path, query), std::move(token));
}

QCoro::Task<void> APIClient::waitForConnectivity(qint64 deadlineMs, const CancelToken& token)
{
    if (m_reachability->isOnline())
        co_return;
    ConnectivityWait wait(*m_reachability, *m_clock, deadlineMs - m_clock->monotonicMs(), token);
    co_await AwaitByRef<ConnectivityWait>{&wait};
}

QCoro::Task<QByteArray> APIClient::send(Request request, CancelToken token)
{
    token.throwIfCancelled();
    const qint64 timeoutMs = std::max<qint64>(0, request.timeoutMs);
    co_await waitForConnectivity(m_clock->monotonicMs() + timeoutMs, token);

    QNetworkRequest req(request.url);
    req.setRawHeader("Accept", "application/json");
    req.setRawHeader("Origin", m_originText.toUtf8());
    if (!request.contentType.isEmpty())
        req.setRawHeader("Content-Type", request.contentType);

    std::unique_ptr<QNetworkReply, ReplyDeleter> reply(m_network->sendCustomRequest(req, request.method, request.body));
    QNetworkReply* r = reply.get();

    // The time-out counts from the last sign of life, as a platform session's request time-out does.
    bool timedOut = false;
    std::unique_ptr<TimerHandle> timer;
    std::function<void()> arm = [&] {
        timer = m_clock->schedule(timeoutMs, [&] {
            timedOut = true;
            QObject::disconnect(r, &QNetworkReply::downloadProgress, nullptr, nullptr);
            QObject::disconnect(r, &QNetworkReply::uploadProgress, nullptr, nullptr);
            r->abort();
        });
    };
    arm();
    QObject::connect(r, &QNetworkReply::downloadProgress, r, [&] { arm(); });
    QObject::connect(r, &QNetworkReply::uploadProgress, r, [&] { arm(); });
    // The reply dies with the network manager: a client torn down while a screen still holds
    // this request must leave the later cancellation nothing to touch.
    auto subscription = token.onCancel([guarded = QPointer<QNetworkReply>(r)] {
        if (guarded)
            guarded->abort();
    });

    co_await r;

    QObject::disconnect(r, nullptr, nullptr, nullptr);
    timer.reset();
    subscription.reset();

    if (token.isCancelled())
        throw APIError::cancelled();
    if (timedOut)
        throw APIError::transport(QStringLiteral("The request timed out."));
    const QVariant status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        if (r->error() == QNetworkReply::OperationCanceledError)
            throw APIError::cancelled();
        if (r->error() != QNetworkReply::NoError)
            throw APIError::transport(r->errorString());
        throw APIError::transport(QStringLiteral("Non-HTTP response"));
    }
    // A connection that broke after the status line (a body cut short) is a transport failure,
    // not an answer; the content and server errors Qt reports for statuses are mapped below.
    const int networkError = int(r->error());
    if (networkError >= 1 && networkError < 200)
        throw APIError::transport(r->errorString());
    const QByteArray body = r->readAll();
    throwIfError(status.toInt(), body);
    co_return body;
}

QString APIClient::extractError(int status, const QByteArray& data)
{
    const QJsonDocument doc = QJsonDocument::fromJson(data);
    if (doc.isObject()) {
        const QJsonValue error = doc.object().value(QLatin1String("error"));
        if (error.isString())
            return error.toString();
    }
    return QStringLiteral("HTTP %1").arg(status);
}

void APIClient::throwIfError(int status, const QByteArray& data)
{
    if (status >= 200 && status <= 299)
        return;
    const QString message = extractError(status, data);
    const QJsonDocument doc = QJsonDocument::fromJson(data);
    const QJsonObject object = doc.isObject() ? doc.object() : QJsonObject();
    switch (status) {
    case 401:
        throw APIError::unauthorized(message);
    case 402: {
        auto amount = [&](const char* key) -> std::optional<double> {
            const QJsonValue v = object.value(QLatin1String(key));
            return v.isDouble() ? std::optional<double>(v.toDouble()) : std::nullopt;
        };
        throw APIError::paymentRequired(amount("required_usd"), amount("available_usd"));
    }
    case 403:
        if (message.toLower().contains(QLatin1String("csrf")))
            throw APIError::csrf(message);
        throw APIError::server(403, message);
    case 409: {
        const QJsonValue code = object.value(QLatin1String("code"));
        const QJsonValue existing = object.value(QLatin1String("existing_agent_id"));
        if (code.isString() && code.toString() == QLatin1String("already_hired") && existing.isString()
            && !existing.toString().isEmpty())
            throw APIError::alreadyHired(existing.toString(), message);
        throw APIError::server(409, message);
    }
    case 429:
        throw APIError::rateLimited(message);
    default:
        throw APIError::server(status, message);
    }
}

} // namespace halvex
