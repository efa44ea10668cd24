#include "chat/viewmodel/presentation/MessagePresentation.h"

namespace halvex {

QString rawValue(MessageVariant variant)
{
    switch (variant) {
    case MessageVariant::plain:
        return QStringLiteral("plain");
    case MessageVariant::report:
        return QStringLiteral("report");
    case MessageVariant::progress:
        return QStringLiteral("progress");
    case MessageVariant::event:
        return QStringLiteral("event");
    case MessageVariant::alert:
        return QStringLiteral("alert");
    case MessageVariant::approval:
        return QStringLiteral("approval");
    case MessageVariant::artifact:
        return QStringLiteral("artifact");
    case MessageVariant::media:
        return QStringLiteral("media");
    case MessageVariant::service:
        return QStringLiteral("service");
    case MessageVariant::usage:
        return QStringLiteral("usage");
    }
    return QString();
}

QString rawValue(MessageTone tone)
{
    switch (tone) {
    case MessageTone::neutral:
        return QStringLiteral("neutral");
    case MessageTone::info:
        return QStringLiteral("info");
    case MessageTone::success:
        return QStringLiteral("success");
    case MessageTone::action:
        return QStringLiteral("action");
    case MessageTone::error:
        return QStringLiteral("error");
    }
    return QString();
}

QString rawValue(PresentationAction action)
{
    switch (action) {
    case PresentationAction::open:
        return QStringLiteral("open");
    case PresentationAction::approve:
        return QStringLiteral("approve");
    case PresentationAction::reject:
        return QStringLiteral("reject");
    }
    return QString();
}

} // namespace halvex
