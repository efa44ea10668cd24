#pragma once
// The query, page and host of a web step, for titles like "Searched best CRM tools".
#include "chat/model/ChatMessage.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace halvex {

struct WebStepDetails {
    std::optional<QString> query;
    std::optional<QString> page; // the page title, else its host
    std::optional<QString> host;
    std::optional<QUrl> url;

    // Read from the metadata itself and its "args", "input", "params", "result", "browser_view"
    // objects and the objects of its "steps" list.
    static WebStepDetails of(const ChatMessage& message);
};

} // namespace halvex
