#pragma once
// The one client through which every service request goes (the event stream has its own reader).
//
// Every operation is a coroutine awaited on the GUI thread. It fails with APIError; cancelling
// `token` aborts the request in flight and makes it fail with APIError::cancelled(). The client
// keeps no state between requests besides the shared cookie jar.
#include "core/APIError.h"
#include "core/async/CancelToken.h"
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"
#include "core/net/MultipartFile.h"
#include "core/net/ServiceURL.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <qcorotask.h>

#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkCookieJar;

namespace halvex {

class Clock;
class NetworkReachability;

class APIClient {
public:
    static constexpr qint64 defaultTimeoutMs = 60'000;

    // `origin`: scheme and host, no trailing slash. Null collaborators mean the process-wide
    // cookie jar, the system clock and the system's reachability.
    explicit APIClient(const QUrl& origin, QNetworkCookieJar* jar = nullptr, Clock* clock = nullptr,
                       NetworkReachability* reachability = nullptr);
    ~APIClient();
    APIClient(const APIClient&) = delete;
    APIClient& operator=(const APIClient&) = delete;

    // The client of the deployment's origin, created on first use and never released.
    static APIClient& shared();

    const QUrl& origin() const { return m_origin; }
    QString originText() const { return m_originText; }
    // The address of `path` (leading "/" optional) under the origin, with `query` appended.
    QUrl url(const QString& path, const QueryItems& query = {}) const;

    template <typename T>
    QCoro::Task<T> get(QString path, QueryItems query = {}, CancelToken token = {})
    {
        const QByteArray body = co_await send(makeRequest("GET", path, query), std::move(token));
        co_return decodeJSON<T>(body);
    }

    // `timeoutSeconds` replaces the 60-second time-out of this request.
    template <typename T>
    QCoro::Task<T> postJSON(QString path, JSONObject body, std::optional<double> timeoutSeconds = std::nullopt,
                            CancelToken token = {})
    {
        auto request = makeJSONRequest("POST", path, body);
        if (timeoutSeconds)
            request.timeoutMs = qint64(*timeoutSeconds * 1000.0);
        const QByteArray data = co_await send(std::move(request), std::move(token));
        co_return decodeJSON<T>(data);
    }

    QCoro::Task<QByteArray> postJSONRaw(QString path, JSONObject body, CancelToken token = {});
    QCoro::Task<QByteArray> patchJSONRaw(QString path, JSONObject body, CancelToken token = {});
    QCoro::Task<QByteArray> putJSONRaw(QString path, JSONObject body, CancelToken token = {});
    QCoro::Task<QByteArray> del(QString path, QueryItems query = {}, CancelToken token = {});

    template <typename T>
    QCoro::Task<T> postMultipart(QString path, QList<MultipartFile> files, CancelToken token = {})
    {
        const QByteArray data = co_await send(makeMultipartRequest(path, files), std::move(token));
        co_return decodeJSON<T>(data);
    }

    // One prepared request; public so that services with their own body formats reuse `send`.
    struct Request {
        QByteArray method;
        QUrl url;
        QByteArray contentType; // empty: no Content-Type header
        QByteArray body;
        qint64 timeoutMs = defaultTimeoutMs;
    };
    Request makeRequest(const QByteArray& method, const QString& path, const QueryItems& query = {}) const;
    Request makeJSONRequest(const QByteArray& method, const QString& path, const JSONObject& body) const;
    Request makeMultipartRequest(const QString& path, const QList<MultipartFile>& files) const;

    // Performs `request` and returns the body of a 2xx answer; maps everything else to APIError.
    QCoro::Task<QByteArray> send(Request request, CancelToken token = {});

    // The status mapping of a finished HTTP exchange; returns normally for 200 to 299.
    static void throwIfError(int status, const QByteArray& data);
    // The "error" string of a JSON object body, else "HTTP <status>".
    static QString extractError(int status, const QByteArray& data);

    QNetworkAccessManager& network() { return *m_network; }
    Clock& clock() { return *m_clock; }

private:
    QCoro::Task<void> waitForConnectivity(qint64 deadlineMs, const CancelToken& token);

    QUrl m_origin;
    QString m_originText;
    std::unique_ptr<QNetworkAccessManager> m_network;
    Clock* m_clock;
    NetworkReachability* m_reachability;
};

} // namespace halvex
