#pragma once
// Opening an address in the user's default browser; tests replace it with a scripted browser.
#include <QUrl>

namespace halvex {

class BrowserOpener {
public:
    virtual ~BrowserOpener() = default;
    // False when no browser could be started.
    virtual bool open(const QUrl& url) = 0;
};

// The desktop's default browser.
class DesktopBrowserOpener final : public BrowserOpener {
public:
    bool open(const QUrl& url) override;
    static DesktopBrowserOpener& shared();
};

} // namespace halvex
