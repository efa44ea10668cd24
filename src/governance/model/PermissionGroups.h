#pragma once
// The permission groups of the guardrails: each switches a family of tools on or off.
#include "core/json/JSONValue.h"

#include <QStringList>

namespace halvex {

struct PermissionGroup {
    QString id;
    QString symbol;
    QString label;
    QString detail;
    QStringList tools;

    // Email, calls, media, research and code, in display order.
    static const QList<PermissionGroup>& catalog();
    // The name and category written into a tool entry.
    struct Meta {
        QString name;
        QString category;
    };
    static Meta meta(const QString& toolId);

    // On when any of its tools is enabled.
    bool isOn(const QStringList& toolIds) const;
    // The tools array with this group switched: its tools removed (strings and objects alike),
    // and appended as entries when it was off. Every other item stays exactly as it was.
    JSONArray toggled(const JSONArray& tools, bool wasOn) const;
};

// A tool item's identifier: the string itself, or an object's "id"; empty for anything else.
QString toolIdOf(const JSONValue& item);
// An employee's tool identifiers: "runtime_tool_ids" when present, else "tools".
QStringList toolIdsOf(const JSONObject& detail);

} // namespace halvex
