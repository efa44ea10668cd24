#include "FormFollowingBrowser.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QUrlQuery>

#include <QCoroNetworkReply>

namespace halvex::test {
namespace {

QString attribute(const QString& tag, const QString& name)
{
    const QRegularExpression pattern(QStringLiteral("\\b%1\\s*=\\s*(\"([^\"]*)\"|'([^']*)'|([^\\s>]+))").arg(name),
                                     QRegularExpression::CaseInsensitiveOption);
    const auto m = pattern.match(tag);
    if (!m.hasMatch())
        return {};
    QString value = m.captured(2) + m.captured(3) + m.captured(4);
    value.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    value.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    value.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    value.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    value.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return value;
}

} // namespace

std::optional<HTMLForm> HTMLForm::parse(const QString& html)
{
    static const QRegularExpression formPattern(QStringLiteral("<form\\b([^>]*)>(.*?)</form>"),
                                                QRegularExpression::CaseInsensitiveOption
                                                    | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression fieldPattern(QStringLiteral("<(input|button)\\b[^>]*>"),
                                                 QRegularExpression::CaseInsensitiveOption);
    const auto form = formPattern.match(html);
    if (!form.hasMatch())
        return std::nullopt;
    HTMLForm result;
    const QString open = QStringLiteral("<form ") + form.captured(1) + QLatin1Char('>');
    result.action = attribute(open, QStringLiteral("action"));
    result.method = attribute(open, QStringLiteral("method")).toUpper();
    if (result.method.isEmpty())
        result.method = QStringLiteral("GET");
    const QString body = form.captured(2);
    bool buttonTaken = false;
    for (auto it = fieldPattern.globalMatch(body); it.hasNext();) {
        const QString tag = it.next().captured(0);
        const QString name = attribute(tag, QStringLiteral("name"));
        if (name.isEmpty())
            continue;
        const bool isButton = tag.startsWith(QStringLiteral("<button"), Qt::CaseInsensitive)
            || attribute(tag, QStringLiteral("type")).compare(QStringLiteral("submit"), Qt::CaseInsensitive) == 0;
        if (isButton) {
            // Only the pressed button is sent: the first one.
            if (buttonTaken)
                continue;
            buttonTaken = true;
        }
        result.fields.append({name, attribute(tag, QStringLiteral("value"))});
    }
    return result;
}

void FormFollowingBrowser::fail(const QString& why)
{
    failure = why;
    if (onFailure)
        onFailure();
}

bool FormFollowingBrowser::open(const QUrl& url)
{
    opened.append(url);
    m_running.push_back(follow(url));
    return true;
}

QCoro::Task<void> FormFollowingBrowser::follow(QUrl url)
{
    for (int hop = 0; hop < 10; ++hop) {
        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        std::unique_ptr<QNetworkReply> reply(m_network.get(request));
        co_await reply.get();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray location = reply->rawHeader("Location");
        if (status >= 300 && status < 400 && !location.isEmpty()) {
            const QUrl next = url.resolved(QUrl::fromEncoded(location));
            if (next.scheme() != QLatin1String("http") && next.scheme() != QLatin1String("https")) {
                m_deliver(next);
                co_return;
            }
            url = next;
            continue;
        }
        const auto form = HTMLForm::parse(QString::fromUtf8(reply->readAll()));
        if (!form) {
            fail(QStringLiteral("no form on %1 (HTTP %2)").arg(url.toString(), QString::number(status)));
            co_return;
        }
        QUrlQuery fields;
        for (const auto& [name, value] : form->fields)
            fields.addQueryItem(QString::fromLatin1(QUrl::toPercentEncoding(name)),
                                QString::fromLatin1(QUrl::toPercentEncoding(value)));
        const QUrl action = url.resolved(QUrl(form->action));
        QNetworkRequest submit(action);
        submit.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        std::unique_ptr<QNetworkReply> posted;
        if (form->method == QLatin1String("POST")) {
            submit.setHeader(QNetworkRequest::ContentTypeHeader,
                             QByteArrayLiteral("application/x-www-form-urlencoded"));
            submit.setRawHeader("Origin", (action.scheme() + QStringLiteral("://") + action.authority()).toUtf8());
            posted.reset(m_network.post(submit, fields.query(QUrl::FullyEncoded).toUtf8()));
        } else {
            QUrl target = action;
            target.setQuery(fields);
            submit.setUrl(target);
            posted.reset(m_network.get(submit));
        }
        co_await posted.get();
        const int postStatus = posted->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray next = posted->rawHeader("Location");
        if (next.isEmpty()) {
            fail(QStringLiteral("the form answered HTTP %1 without a redirect").arg(postStatus));
            co_return;
        }
        const QUrl target = action.resolved(QUrl::fromEncoded(next));
        if (target.scheme() != QLatin1String("http") && target.scheme() != QLatin1String("https")) {
            m_deliver(target);
            co_return;
        }
        url = target;
    }
    fail(QStringLiteral("too many redirects"));
}

} // namespace halvex::test
