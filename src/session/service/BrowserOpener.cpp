#include "session/service/BrowserOpener.h"

#include <QDesktopServices>

namespace halvex {

bool DesktopBrowserOpener::open(const QUrl& url) { return QDesktopServices::openUrl(url); }

DesktopBrowserOpener& DesktopBrowserOpener::shared()
{
    static DesktopBrowserOpener opener;
    return opener;
}

} // namespace halvex
