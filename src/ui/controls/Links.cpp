#include "ui/controls/Links.h"

#include "media/model/DocumentRouter.h"
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

Links::DocumentOpener& documentOpener()
{
    static Links::DocumentOpener open;
    return open;
}

} // namespace

bool Links::open(const QString& url) const
{
    const std::optional<QUrl> target = LinkPolicy::openable(url);
    if (!target)
        return false;
    const bool web = target->scheme() == u"mailto"
        || DocumentRouter::route(std::nullopt, *target, std::nullopt) == DocumentRoute::web;
    return !web && documentOpener() ? documentOpener()(*target, QString(), QString()) : opener()(*target);
}

bool Links::openDocument(const QString& url, const QString& name, const QString& mime) const
{
    const std::optional<QUrl> target = LinkPolicy::openable(url);
    if (!target || target->scheme() == u"mailto")
        return target && opener()(*target);
    return documentOpener() ? documentOpener()(*target, name, mime) : opener()(*target);
}

bool Links::openOnDesktop(const QUrl& url) { return opener()(url); }

void Links::setDocumentOpener(DocumentOpener open) { documentOpener() = std::move(open); }

void Links::setOpener(std::function<bool(const QUrl&)> open) { opener() = std::move(open); }

} // namespace halvex
