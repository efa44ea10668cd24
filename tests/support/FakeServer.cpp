#include "support/FakeServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>

namespace halvex::test {
namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 201:
        return "Created";
    case 204:
        return "No Content";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 402:
        return "Payment Required";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 409:
        return "Conflict";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

} // namespace

FakeResponse FakeResponse::json(int status, QByteArray body)
{
    FakeResponse r;
    r.status = status;
    r.body = std::move(body);
    r.withHeader("Content-Type", "application/json");
    return r;
}

FakeResponse FakeResponse::text(int status, QByteArray body)
{
    FakeResponse r;
    r.status = status;
    r.body = std::move(body);
    r.withHeader("Content-Type", "text/plain");
    return r;
}

FakeResponse FakeResponse::held(FakeResponse response)
{
    response.mode = Mode::Hold;
    return response;
}

FakeResponse FakeResponse::drop()
{
    FakeResponse r;
    r.mode = Mode::Drop;
    return r;
}

FakeResponse FakeResponse::dropMidBody(FakeResponse response)
{
    response.mode = Mode::DropMidBody;
    return response;
}

FakeResponse FakeResponse::eventStream(int status)
{
    FakeResponse r;
    r.status = status;
    r.mode = Mode::Stream;
    r.withHeader("Content-Type", "text/event-stream");
    r.withHeader("Cache-Control", "no-cache");
    return r;
}

bool FakeStream::isOpen() const { return m_socket && m_socket->state() == QAbstractSocket::ConnectedState; }

void FakeStream::push(const QByteArray& bytes)
{
    if (isOpen()) {
        m_socket->write(bytes);
        m_socket->flush();
    }
}

void FakeStream::close()
{
    if (m_socket)
        m_socket->disconnectFromHost();
}

FakeServer::FakeServer() : m_server(new QTcpServer(this))
{
    m_server->listen(QHostAddress::LocalHost, 0);
    connect(m_server, &QTcpServer::newConnection, this, &FakeServer::onNewConnection);
}

FakeServer::~FakeServer() = default;

QUrl FakeServer::origin() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server->serverPort())); }

void FakeServer::on(const QByteArray& method, const QString& path, FakeResponse response)
{
    m_routes[{method, path}] = [response](const RecordedRequest&) { return response; };
}

void FakeServer::on(const QByteArray& method, const QString& path, Handler handler)
{
    m_routes[{method, path}] = std::move(handler);
}

void FakeServer::enqueue(const QByteArray& method, const QString& path, FakeResponse response)
{
    m_queued[{method, path}].append(std::move(response));
}

int FakeServer::count(const QByteArray& method, const QString& path) const
{
    return int(std::count_if(m_requests.begin(), m_requests.end(),
                             [&](const RecordedRequest& r) { return r.method == method && r.path == path; }));
}

int FakeServer::openConnections() const { return int(m_server->findChildren<QTcpSocket*>().size()); }

void FakeServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void FakeServer::readFrom(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    for (;;) {
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        RecordedRequest request;
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        request.method = requestLine.value(0);
        request.target = requestLine.value(1);
        qsizetype contentLength = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines[i].trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon <= 0)
                continue;
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            request.headers.insert(name, value);
            if (name == "content-length")
                contentLength = value.toLongLong();
        }
        if (buffer.size() < headerEnd + 4 + contentLength)
            return;
        request.body = buffer.mid(headerEnd + 4, contentLength);
        buffer.remove(0, headerEnd + 4 + contentLength);

        const QUrl url = QUrl::fromEncoded("http://host" + request.target);
        request.path = url.path(QUrl::FullyDecoded);
        if (url.hasQuery()) {
            // Split on the raw separators so that an escaped "&" or "=" stays inside its item.
            for (const QByteArray& item : url.query(QUrl::FullyEncoded).toUtf8().split('&')) {
                const qsizetype eq = item.indexOf('=');
                const QByteArray name = eq < 0 ? item : item.left(eq);
                const QByteArray value = eq < 0 ? QByteArray() : item.mid(eq + 1);
                request.query.append({QUrl::fromPercentEncoding(name), QUrl::fromPercentEncoding(value)});
            }
        }
        m_requests.append(request);
        Q_EMIT requestReceived(request.method, request.path);
        answer(socket, request);
        if (socket->state() != QAbstractSocket::ConnectedState)
            return;
    }
}

FakeResponse FakeServer::responseFor(const RecordedRequest& request)
{
    const QPair<QByteArray, QString> key{request.method, request.path};
    if (auto queued = m_queued.find(key); queued != m_queued.end() && !queued->isEmpty())
        return queued->takeFirst();
    if (auto route = m_routes.find(key); route != m_routes.end())
        return (*route)(request);
    return FakeResponse::json(404, R"({"error":"no route in fake server"})");
}

void FakeServer::answer(QTcpSocket* socket, const RecordedRequest& request)
{
    const FakeResponse response = responseFor(request);
    switch (response.mode) {
    case FakeResponse::Mode::Answer:
        write(socket, response);
        break;
    case FakeResponse::Mode::Hold:
        m_held.append({QPointer<QTcpSocket>(socket), response});
        break;
    case FakeResponse::Mode::Drop:
        socket->abort();
        break;
    case FakeResponse::Mode::DropMidBody: {
        QByteArray out
            = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
        for (const auto& [name, value] : response.headers)
            out += name + ": " + value + "\r\n";
        out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n\r\n";
        out += response.body.left(response.body.size() / 2);
        socket->write(out);
        socket->flush();
        socket->disconnectFromHost();
        break;
    }
    case FakeResponse::Mode::Stream: {
        QByteArray head
            = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
        for (const auto& [name, value] : response.headers)
            head += name + ": " + value + "\r\n";
        head += "Connection: close\r\n\r\n";
        socket->write(head);
        socket->flush();
        m_streams.append(std::make_shared<FakeStream>(socket));
        break;
    }
    }
}

void FakeServer::write(QTcpSocket* socket, const FakeResponse& response)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
    for (const auto& [name, value] : response.headers)
        out += name + ": " + value + "\r\n";
    out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n\r\n";
    out += response.body;
    socket->write(out);
    socket->flush();
}

void FakeServer::releaseHeld()
{
    const auto held = std::exchange(m_held, {});
    for (const auto& [socket, response] : held) {
        if (socket) {
            FakeResponse answer = response;
            answer.mode = FakeResponse::Mode::Answer;
            write(socket, answer);
        }
    }
}

} // namespace halvex::test
