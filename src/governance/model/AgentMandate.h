#pragma once
// An employee's mandate: how far it may act on its own (autonomy level), its financial and
// communication authority, and the conditions that stop it.
#include "core/json/JsonReader.h"

#include <QStringList>

namespace halvex {

struct AutonomyLevel {
    int n = 0;
    QString hint;
};

struct AgentMandate {
    int version = 1;
    int afLevel = 2;
    std::optional<double> maxStandardQuoteUsd;
    std::optional<double> maxDiscountPct;
    std::optional<QStringList> allowedChannels; // absent: every channel
    QStringList stopConditions;

    // All five keys are required.
    static AgentMandate decode(const JsonReader& json);
    JSONObject encode() const;
    // The draft of an employee with no mandate: level 3 when it can e-mail or call, else 2.
    static AgentMandate defaultFor(const QStringList& toolIds);

    // "email", "phone", "connectors", in that order.
    static const QStringList& channels();
    static const QList<AutonomyLevel>& autonomyLevels();
    bool allows(const QString& channel) const;
    // The channel list with `channel` switched; all three again is stored as absent.
    void toggleChannel(const QString& channel);

    bool operator==(const AgentMandate&) const = default;
};

// A quote limit as its text field shows it: 500, 250.5; empty when absent.
QString quoteText(const std::optional<double>& usd);
// The text field read back: a decimal number, or absent when empty or not a number.
std::optional<double> quoteFromText(const QString& text);

} // namespace halvex
