#pragma once
// An HTTP/1.1 server on loopback, in the test's own thread, that records every request and
// answers from a script. It speaks just enough HTTP for the client under test: keep-alive,
// Content-Length bodies, answers held back until released, dropped connections, and
// close-delimited streams for server-sent events.
#include "core/json/JSONValue.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QTcpSocket>
#include <QUrl>

#include <functional>
#include <memory>

class QTcpServer;

namespace halvex::test {

struct RecordedRequest {
    QByteArray method;
    QString path;                         // decoded, without the query
    QByteArray target;                    // the request target exactly as sent
    QList<QPair<QString, QString>> query; // decoded, in the order sent
    QMap<QByteArray, QByteArray> headers; // lower-case names
    QByteArray body;

    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
    JSONValue json() const { return JSONValue::parse(body); }
    JSONObject jsonObject() const { return json().toObject(); }
};

struct FakeResponse {
    enum class Mode { Answer, Hold, Drop, DropMidBody, Stream };

    int status = 200;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    Mode mode = Mode::Answer;

    static FakeResponse json(int status, QByteArray body);
    static FakeResponse json(QByteArray body) { return json(200, std::move(body)); }
    static FakeResponse text(int status, QByteArray body);
    // Answered only when the test calls `releaseHeld()`.
    static FakeResponse held(FakeResponse response);
    // The connection is closed without an answer.
    static FakeResponse drop();
    // Status, headers and the first half of `body` (Content-Length says all of it), then closed.
    static FakeResponse dropMidBody(FakeResponse response);
    // Status line and headers now; the body is whatever the test pushes to the stream.
    static FakeResponse eventStream(int status = 200);

    FakeResponse& withHeader(QByteArray name, QByteArray value)
    {
        headers.append({std::move(name), std::move(value)});
        return *this;
    }
};

// An open streamed answer; bytes pushed go out as they are.
class FakeStream {
public:
    explicit FakeStream(QTcpSocket* socket) : m_socket(socket) {}
    bool isOpen() const;
    void push(const QByteArray& bytes);
    void close();

private:
    QPointer<QTcpSocket> m_socket;
};

class FakeServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<FakeResponse(const RecordedRequest&)>;

    FakeServer();
    ~FakeServer() override;

    QUrl origin() const;
    QString originText() const { return origin().toString(); }

    // The answer for `method` and `path` (decoded, no query); later registrations win.
    void on(const QByteArray& method, const QString& path, FakeResponse response);
    void on(const QByteArray& method, const QString& path, Handler handler);
    // Answers used once each, in order, before the registered one.
    void enqueue(const QByteArray& method, const QString& path, FakeResponse response);

    QList<RecordedRequest> requests() const { return m_requests; }
    RecordedRequest last() const { return m_requests.isEmpty() ? RecordedRequest{} : m_requests.last(); }
    int count(const QByteArray& method, const QString& path) const;
    void clearRequests() { m_requests.clear(); }

    // Sends every held answer, in the order the requests came.
    void releaseHeld();
    int heldCount() const { return int(m_held.size()); }
    // Streams opened so far, oldest first.
    QList<std::shared_ptr<FakeStream>> streams() const { return m_streams; }
    int openConnections() const;

Q_SIGNALS:
    void requestReceived(const QByteArray& method, const QString& path);

private:
    struct Connection;
    void onNewConnection();
    void readFrom(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const RecordedRequest& request);
    FakeResponse responseFor(const RecordedRequest& request);
    static void write(QTcpSocket* socket, const FakeResponse& response);

    QTcpServer* m_server;
    QMap<QPair<QByteArray, QString>, Handler> m_routes;
    QMap<QPair<QByteArray, QString>, QList<FakeResponse>> m_queued;
    QList<RecordedRequest> m_requests;
    QList<QPair<QPointer<QTcpSocket>, FakeResponse>> m_held;
    QList<std::shared_ptr<FakeStream>> m_streams;
    QMap<QTcpSocket*, QByteArray> m_buffers;
};

} // namespace halvex::test
