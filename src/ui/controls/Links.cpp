#include "ui/controls/Links.h"

#include "richtext/inline/LinkPolicy.h"

#include <QDesktopServices>
#include <QUrl>

namespace halvex {

namespace {

std::function<bool(const QUrl&)>& opener()
{
    static std::function<bool(const QUrl&)> open = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return open;
}

} // namespace

bool Links::open(const QString& url) const
{
    const std::optional<QUrl> target = LinkPolicy::openable(url);
    return target && opener()(*target);
}

void Links::setOpener(std::function<bool(const QUrl&)> open) { opener() = std::move(open); }

} // namespace halvex
