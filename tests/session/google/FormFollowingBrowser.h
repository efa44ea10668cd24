#pragma once
// A browser for tests: it loads the authorization page, submits its form as a person pressing
// the button would, and hands the final redirect to `deliver` (the desktop's scheme routing).
#include "session/service/BrowserOpener.h"

#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

#include <qcorotask.h>

#include <functional>
#include <vector>

namespace halvex::test {

class FormFollowingBrowser final : public BrowserOpener {
public:
    explicit FormFollowingBrowser(std::function<void(const QUrl&)> deliver) : m_deliver(std::move(deliver)) {}

    bool open(const QUrl& url) override;

    QList<QUrl> opened;
    // What went wrong when the page could not be followed; `onFailure` runs then.
    QString failure;
    std::function<void()> onFailure;

private:
    QCoro::Task<void> follow(QUrl url);
    void fail(const QString& why);
    QNetworkAccessManager m_network;
    std::function<void(const QUrl&)> m_deliver;
    std::vector<QCoro::Task<void>> m_running;
};

// The first form of an HTML page: its action and its named fields.
struct HTMLForm {
    QString action;
    QString method;
    QList<QPair<QString, QString>> fields;
    static std::optional<HTMLForm> parse(const QString& html);
};

} // namespace halvex::test
