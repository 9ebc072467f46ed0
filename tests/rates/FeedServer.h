// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A small HTTP/1.1 server on 127.0.0.1 for the tests of the rates feed: each path answers as the
// test says, and nothing ever leaves this computer.

#include <QByteArray>
#include <QFile>
#include <QHostAddress>
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

namespace rates_test {

class FeedServer : public QObject {
 public:
  enum class Kind {
    kAnswer,   // the status, headers and body given
    kSilent,   // takes the request and never answers
    kHangUp,   // closes the connection without a word
    kDrip,     // a 200 header, then a byte of body every 50 ms, forever
    kEndless,  // a 200 header without a length, then body until the client gives up
  };
  struct Route {
    Kind kind = Kind::kAnswer;
    int status = 200;
    QByteArray headers;  // extra header lines, each ending in "\r\n"
    QByteArray body;
  };

  FeedServer() {
    connect(&server_, &QTcpServer::newConnection, this, [this] { Accept(); });
    if (!server_.listen(QHostAddress::LocalHost)) qFatal("the test server cannot listen");
  }

  // The address of `path` on this server, http://127.0.0.1:PORT/PATH.
  QUrl Url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/%2").arg(server_.serverPort()).arg(path));
  }
  quint16 Port() const { return server_.serverPort(); }

  void Answer(const QString& path, int status, const QByteArray& body,
              const QByteArray& headers = {}) {
    routes_[path] = Route{Kind::kAnswer, status, headers, body};
  }
  void Redirect(const QString& path, const QByteArray& location, int status = 302) {
    routes_[path] = Route{Kind::kAnswer, status, "Location: " + location + "\r\n", {}};
  }
  void Behave(const QString& path, Kind kind) { routes_[path] = Route{kind, 200, {}, {}}; }

  // The fixture feed, by its file name.
  static QByteArray Fixture(const QString& name) {
    QFile file(QStringLiteral(DRAVELLO_RATES_FIXTURES "/") + name);
    if (!file.open(QIODevice::ReadOnly)) qFatal("no fixture %s", qPrintable(name));
    return file.readAll();
  }

  // Every request received, its head as sent (request line and headers).
  QList<QByteArray> requests;

 private:
  void Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      auto* head = new QByteArray;
      connect(socket, &QObject::destroyed, this, [head] { delete head; });
      connect(socket, &QTcpSocket::readyRead, this, [this, socket, head] {
        if (head->endsWith("\r\n\r\n")) return;  // one request per connection
        *head += socket->readAll();
        if (head->startsWith('\x16')) {  // a TLS greeting: no TLS here
          requests.append(*head);
          *head = "\r\n\r\n";
          socket->disconnectFromHost();
          return;
        }
        if (!head->contains("\r\n\r\n")) return;
        *head = head->left(head->indexOf("\r\n\r\n") + 4);
        requests.append(*head);
        const QList<QByteArray> line = head->left(head->indexOf("\r\n")).split(' ');
        const QString path = line.size() > 1 ? QString::fromLatin1(line[1].mid(1)) : QString();
        Respond(socket, routes_.value(path, Route{Kind::kAnswer, 404, {}, "no such feed"}));
      });
    }
  }

  void Respond(QTcpSocket* socket, const Route& route) {
    switch (route.kind) {
      case Kind::kSilent:
        return;
      case Kind::kHangUp:
        socket->disconnectFromHost();
        return;
      case Kind::kDrip:
      case Kind::kEndless: {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n");
        auto* timer = new QTimer(socket);
        const bool drip = route.kind == Kind::kDrip;
        connect(timer, &QTimer::timeout, socket, [socket, drip] {
          if (socket->bytesToWrite() > 1 << 20) return;  // the client is not reading
          socket->write(drip ? QByteArray(" ") : QByteArray(64 * 1024, ' '));
        });
        timer->start(drip ? 50 : 0);
        return;
      }
      case Kind::kAnswer:
        break;
    }
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(route.status) + " Status\r\n";
    answer += "Content-Type: text/xml\r\nConnection: close\r\n";
    if (!route.headers.contains("Content-Length")) {
      answer += "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
    }
    answer += route.headers + "\r\n" + route.body;
    socket->write(answer);
    socket->disconnectFromHost();
  }

  QTcpServer server_;
  QMap<QString, Route> routes_;
};

}  // namespace rates_test
