#include "core/net/sse/EventStream.h"

#include "core/Config.h"
#include "core/async/Clock.h"
#include "core/net/PersistentCookieJar.h"
#include "core/net/ServiceURL.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <QCoroNetworkReply>

#include <algorithm>

namespace halvex {
namespace {

// Deleted from a queued call rather than deleteLater(): the connection must close as soon as the
// event loop turns, also under a test's processEvents, where deferred deletes wait.
struct ManagerDeleter {
    void operator()(QNetworkAccessManager* network) const
    {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [network] { delete network; }, Qt::QueuedConnection);
    }
};

// What the reply's signal handlers share with the attempt. Held by shared pointer because a
// callback may end the attempt (and its coroutine frame) while a handler is still running.
struct Connection {
    CancelToken token;
    SSELineSplitter splitter;
    SSEFrameParser parser;
    bool statusChecked = false;
    bool unauthorized = false;
    bool failed = false;
    std::unique_ptr<TimerHandle> idleTimer;
};

} // namespace

EventStream::EventStream(QUrl origin, QNetworkCookieJar* jar, Clock* clock)
    : m_origin(origin.isEmpty() ? QUrl(Config::baseURL()) : std::move(origin)),
      m_originText(m_origin.toString(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::StripTrailingSlash)),
      m_jar(jar ? jar : &PersistentCookieJar::shared()),
      m_clock(clock ? clock : &Clock::system())
{}

EventStream::~EventStream()
{
    // Cancelling resumes the loop at once, which then ends without touching this object.
    stop();
}

void EventStream::start(const QString& path)
{
    stop();
    m_source = CancelSource();
    const QUrl url = serviceURL(m_originText, path);
    m_running = true;
    run(url, m_source.token());
}

void EventStream::stop()
{
    m_source.cancel();
    m_running = false;
}

QCoro::Task<void> EventStream::run(QUrl url, CancelToken token)
{
    int backoff = 1;
    for (;;) {
        if (token.isCancelled())
            co_return;
        const Outcome outcome = co_await attempt(url, token);
        if (token.isCancelled())
            co_return;
        if (outcome == Outcome::unauthorized) {
            m_running = false;
            if (onUnauthorized)
                onUnauthorized();
            co_return;
        }
        const int delay = outcome == Outcome::ended ? 1 : backoff;
        try {
            co_await m_clock->sleep(qint64(delay) * 1000, token);
        } catch (...) {
            co_return; // only a cancellation interrupts the sleep
        }
        if (token.isCancelled())
            co_return;
        backoff = std::min(delay * 2, maxBackoffSeconds);
        if (onReconnect)
            onReconnect();
    }
}

QCoro::Task<EventStream::Outcome> EventStream::attempt(QUrl url, CancelToken token)
{
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "text/event-stream");
    request.setRawHeader("Origin", m_originText.toUtf8());
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    // A manager per connection: an aborted reply leaves its socket open in the manager's pool,
    // and only dropping the manager closes it, so a stopped stream really lets go of the service.
    std::unique_ptr<QNetworkAccessManager, ManagerDeleter> network(new QNetworkAccessManager);
    QObject* jarOwner = m_jar->parent();
    network->setCookieJar(m_jar);
    m_jar->setParent(jarOwner); // shared with the API client: not ours to delete
    QNetworkReply* reply = network->get(request);

    auto conn = std::make_shared<Connection>();
    conn->token = token;
    Clock* clock = m_clock;
    auto armIdleShared = std::make_shared<std::function<void()>>();
    *armIdleShared = [weak = std::weak_ptr<Connection>(conn), reply, clock] {
        auto c = weak.lock();
        if (!c)
            return;
        c->idleTimer = clock->schedule(idleTimeoutMs, [weak, reply] {
            if (auto c = weak.lock()) {
                c->failed = true;
                reply->abort();
            }
        });
    };
    (*armIdleShared)();

    // Status first: the body of anything but 2xx is not read.
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [conn, reply] {
        if (conn->statusChecked)
            return;
        conn->statusChecked = true;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 401) {
            conn->unauthorized = true;
            reply->abort();
        } else if (status < 200 || status > 299) {
            conn->failed = true;
            reply->abort();
        }
    });
    auto* dispatch = &onEvent;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [conn, reply, armIdleShared, dispatch] {
        if (!conn->statusChecked || conn->failed || conn->unauthorized || conn->token.isCancelled())
            return;
        (*armIdleShared)();
        const QStringList lines = conn->splitter.append(reply->readAll());
        for (const QString& line : lines) {
            if (conn->token.isCancelled())
                return; // the stream was stopped from a callback: `dispatch` may be gone too
            if (auto event = conn->parser.feed(line); event && *dispatch)
                (*dispatch)(*event);
        }
    });
    auto subscription = token.onCancel([reply] { reply->abort(); });

    co_await reply;

    conn->idleTimer.reset();
    QObject::disconnect(reply, nullptr, nullptr, nullptr);
    if (token.isCancelled())
        co_return Outcome::ended;
    if (conn->unauthorized)
        co_return Outcome::unauthorized;
    if (conn->failed || !reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()
        || reply->error() != QNetworkReply::NoError)
        co_return Outcome::failed;
    co_return Outcome::ended;
}

} // namespace halvex
