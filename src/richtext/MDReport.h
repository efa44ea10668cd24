#pragma once
// Report groups: research-style lists shown as titled items with a body and sources.
#include "richtext/MDBlock.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>
#include <variant>

namespace halvex {

struct MDReportListKind {
    bool ordered = false;
    int start = 0;
    static MDReportListKind orderedFrom(int start) { return {true, start}; }
    static MDReportListKind bullet() { return {false, 0}; }
    bool operator==(const MDReportListKind&) const = default;
};

struct MDReportSource {
    QString label;
    std::optional<QUrl> url;
    bool operator==(const MDReportSource&) const = default;
};

struct MDReportItem {
    QString title;
    QString body;
    QList<MDReportSource> sources;
    bool operator==(const MDReportItem&) const = default;
};

struct MDReportGroup {
    MDReportListKind kind;
    QList<MDReportItem> items;
    bool operator==(const MDReportGroup&) const = default;
};

// What the renderer draws: a plain block or a report group.
using MDPresentationBlock = std::variant<MDBlock, MDReportGroup>;

} // namespace halvex
