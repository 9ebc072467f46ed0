// SPDX-License-Identifier: GPL-3.0-or-later
#include "RatesFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslSocket>

#include "FeedAddress.h"

namespace dravello {

RatesFetch::RatesFetch(std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent), timeout_(timeout) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { Stop(Outcome::kTimeout); });
}

RatesFetch::~RatesFetch() {
  Abandon();
}

bool RatesFetch::Allowed(const QUrl& url) {
  if (!url.isValid() || url.isRelative()) return false;
  return FeedAddressAllowed(url.scheme().toStdString(), url.host().toStdString());
}

void RatesFetch::Start(const QUrl& url) {
  Abandon();
  body_.clear();
  stopped_ = false;
  stop_result_ = Result();
  if (manager_ == nullptr) {
    manager_ = new QNetworkAccessManager(this);
    manager_->setRedirectPolicy(QNetworkRequest::UserVerifiedRedirectPolicy);
  }
  // A fetch from this computer itself never goes through a proxy; others use the system's.
  manager_->setProxy(IsLocalHost(url.host().toStdString())
                         ? QNetworkProxy(QNetworkProxy::NoProxy)
                         : QNetworkProxy(QNetworkProxy::DefaultProxy));

  QNetworkRequest request(url);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::UserVerifiedRedirectPolicy);
  request.setMaximumRedirectsAllowed(kMaxRedirects);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
  request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
  request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("CalculadoraDravello"));
  request.setRawHeader("Accept", "application/xml, text/xml");

  if (url.scheme() == QLatin1String("https") && !QSslSocket::supportsSsl()) {
    // Reported from the event loop, as every result.
    stopped_ = true;
    stop_result_.outcome = Outcome::kNoTls;
    stop_result_.url = url;
    Report(stop_result_);
    return;
  }

  QNetworkReply* reply = manager_->get(request);
  reply_ = reply;
  connect(reply, &QNetworkReply::metaDataChanged, this, &RatesFetch::OnMetaData);
  connect(reply, &QNetworkReply::readyRead, this, &RatesFetch::OnReadyRead);
  connect(reply, &QNetworkReply::redirected, this, &RatesFetch::OnRedirected);
  connect(reply, &QNetworkReply::finished, this, &RatesFetch::OnFinished);
  timer_.start(timeout_);
}

void RatesFetch::Cancel() {
  if (Running()) Stop(Outcome::kCancelled);
}

void RatesFetch::Abandon() {
  ++run_;  // a result on its way is dropped
  timer_.stop();
  if (reply_ == nullptr) return;
  QNetworkReply* reply = reply_;
  reply_ = nullptr;
  reply->disconnect(this);
  reply->abort();
  reply->deleteLater();
}

void RatesFetch::OnMetaData() {
  if (reply_ == nullptr) return;
  const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
  if (length.isValid() && length.toLongLong() > kMaxBytes) Stop(Outcome::kTooLarge);
}

void RatesFetch::OnReadyRead() {
  if (reply_ == nullptr) return;
  // Read as it comes, so that an endless answer is stopped at the limit.
  body_ += reply_->read(kMaxBytes + 1 - body_.size());
  if (body_.size() > kMaxBytes) {
    Stop(Outcome::kTooLarge);
    return;
  }
  emit progress(body_.size());
}

void RatesFetch::OnRedirected(const QUrl& url) {
  if (reply_ == nullptr) return;
  if (!FeedRedirectAllowed(url.scheme().toStdString(), url.host().toStdString())) {
    Stop(Outcome::kInsecureRedirect, url);
    return;
  }
  emit reply_->redirectAllowed();
}

void RatesFetch::Stop(Outcome outcome, const QUrl& url) {
  if (reply_ == nullptr || stopped_) return;
  stopped_ = true;
  stop_result_.outcome = outcome;
  stop_result_.url = url.isEmpty() ? reply_->url() : url;
  reply_->abort();  // finishes the reply: OnFinished reports the outcome
}

void RatesFetch::OnFinished() {
  if (reply_ == nullptr) return;
  timer_.stop();
  if (!stopped_) body_ += reply_->read(kMaxBytes + 1 - body_.size());
  const Result result = stopped_ ? stop_result_ : ResultOfReply();
  QNetworkReply* reply = reply_;
  reply_ = nullptr;
  reply->disconnect(this);
  reply->deleteLater();
  Report(result);
}

void RatesFetch::Report(const Result& result) {
  // From the event loop, out of the reply's own signal, so that the receiver may open a modal
  // window at once; dropped if the fetch is abandoned or started again meanwhile.
  QTimer::singleShot(0, this, [this, result, run = run_] {
    if (run == run_) emit finished(result);
  });
}

RatesFetch::Result RatesFetch::ResultOfReply() const {
  Result result;
  result.url = reply_->url();
  const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (status.isValid()) result.http_status = status.toInt();
  if (body_.size() > kMaxBytes) {
    result.outcome = Outcome::kTooLarge;
    return result;
  }
  // A redirect that the toolkit would not even offer (to a scheme it does not speak) ends here.
  const QByteArray target = reply_->rawHeader("Location");
  if (result.http_status >= 300 && result.http_status < 400 && !target.isEmpty()) {
    result.outcome = Outcome::kInsecureRedirect;
    result.url = reply_->url().resolved(QUrl::fromEncoded(target));
    return result;
  }
  switch (reply_->error()) {
    case QNetworkReply::NoError:
      if (result.http_status == 200) {
        result.body = body_;
        return result;
      }
      result.outcome = Outcome::kHttpError;
      return result;
    case QNetworkReply::HostNotFoundError:
      result.outcome = Outcome::kHostNotFound;
      return result;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
      result.outcome = Outcome::kNoConnection;
      return result;
    case QNetworkReply::TimeoutError:
      result.outcome = Outcome::kTimeout;
      return result;
    case QNetworkReply::OperationCanceledError:
      result.outcome = Outcome::kCancelled;
      return result;
    case QNetworkReply::SslHandshakeFailedError:
      result.outcome = Outcome::kTlsFailed;
      return result;
    case QNetworkReply::TooManyRedirectsError:
      result.outcome = Outcome::kTooManyRedirects;
      return result;
    case QNetworkReply::InsecureRedirectError:
      result.outcome = Outcome::kInsecureRedirect;
      return result;
    default:
      break;
  }
  // Any other error that came with an HTTP answer is that answer's status.
  if (result.http_status != 0 && result.http_status != 200) {
    result.outcome = Outcome::kHttpError;
    return result;
  }
  result.outcome = Outcome::kOther;
  result.detail = reply_->errorString();
  return result;
}

}  // namespace dravello
