#pragma once

// A web server on 127.0.0.1 for the update check: it answers every request with a fixed answer,
// or accepts the connection and never answers.
#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <string>

class FakeUpdateServer {
public:
    enum class Mode { Answer, Stall };

    explicit FakeUpdateServer(QByteArray answer, Mode mode = Mode::Answer)
        : Answer(std::move(answer))
        , Behaviour(mode) {
        Server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&Server, &QTcpServer::newConnection, [this] { Accept(); });
    }

    /// "127.0.0.1:<port>".
    std::string Host() const { return "127.0.0.1:" + std::to_string(Server.serverPort()); }

    /// What the client sent, headers included.
    QByteArray Request;

    /// An HTTP/1.1 answer with the given status line and body.
    static QByteArray Http(const char* status, const QByteArray& body) {
        return QByteArray("HTTP/1.1 ") + status +
               "\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: " +
               QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }

    /// The request's header line of that name, without the name.
    std::string Header(const char* name) const {
        for (const QByteArray& line : Request.split('\n'))
            if (line.startsWith(QByteArray(name) + ": "))
                return line.mid(static_cast<int>(qstrlen(name)) + 2).trimmed().toStdString();
        return {};
    }

    /// The request line, "GET <path> HTTP/1.1".
    std::string RequestLine() const { return Request.left(Request.indexOf("\r\n")).toStdString(); }

private:
    void Accept() {
        QTcpSocket* socket = Server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
            Request += socket->readAll();
            if (Behaviour == Mode::Stall || !Request.contains("\r\n\r\n"))
                return;
            socket->write(Answer);
            socket->disconnectFromHost();
        });
    }

    QTcpServer Server;
    QByteArray Answer;
    Mode Behaviour;
};
