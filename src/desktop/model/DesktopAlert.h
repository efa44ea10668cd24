#pragma once
// Something that waits for the user while the window is in the background, worded for a desktop
// notification.
#include <QString>

namespace halvex {

enum class DesktopAlertKind { turnFinished, approvalWaiting, goalReviewWaiting };

struct DesktopAlert {
    DesktopAlertKind kind = DesktopAlertKind::turnFinished;
    // The chat (backend) id that activating the notification opens.
    QString chatId;
    // Who the chat is with, as the sidebar names them.
    QString chatName;
    // What it is about: the answer's start, the approval's title, the goal's objective.
    QString detail;

    // The notification's first line.
    QString summary() const;
    // Its text: the detail on one paragraph, at most `maxBodyChars`, with markup characters
    // escaped (servers that read markup must show the service's text as it is).
    QString body() const;

    static constexpr qsizetype maxBodyChars = 200;
    static constexpr qsizetype maxNameChars = 60;
};

// What the launcher shows for `unread` messages: a count only when there is one.
struct LauncherBadge {
    qint64 count = 0;
    bool visible = false;
    static LauncherBadge forUnread(qint64 unread);
    bool operator==(const LauncherBadge&) const = default;
};

} // namespace halvex
