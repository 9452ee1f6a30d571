#include "TUpdateRequest.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <memory>

namespace {
// Errors of the connection itself (Qt's network-layer and proxy codes), as against an answer
// that the server gave with an error status.
bool ConnectionFailed(QNetworkReply::NetworkError error) {
    return error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}
} // namespace

TUpdateRequest::TUpdateRequest(std::string url, std::string userAgent, int limit, int timeoutMs)
    : Url(std::move(url))
    , UserAgent(std::move(userAgent))
    , Limit(limit)
    , TimeoutMs(timeoutMs) {}

std::string TUpdateRequest::Run() {
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(QString::fromStdString(Url)));
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromStdString(UserAgent));
    request.setTransferTimeout(TimeoutMs);
    std::unique_ptr<QNetworkReply> reply(manager.get(request));

    QByteArray body;
    QEventLoop loop;
    auto take = [&] { body += reply->read(Limit - body.size()); };
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        take();
        if (body.size() >= Limit)
            loop.quit();
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (body.size() >= Limit) {
        reply->abort();
        return body.toStdString();
    }
    if (ConnectionFailed(reply->error()))
        return {};
    take();
    return body.toStdString();
}
