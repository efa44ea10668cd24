#pragma once
// The telephony carriers an employee's phone channel can come from, with the fields each asks.
#include "governance/model/ConnectionRecords.h"

#include <QStringList>

namespace halvex {

struct ChannelField {
    QString key;
    QString label;
    QString placeholder;
    bool secure = false;
    bool optional = false;
};

struct ChannelProvider {
    QString id;
    QString label;
    QString endpoint;
    QString blurb;
    QList<ChannelField> fields;
    bool isPhone = true;
};

namespace ChannelCatalog {

const QList<ChannelProvider>& carriers();
const ChannelProvider* carrier(const QString& id);
const QStringList& phoneChannelTypes();
// Statuses of a channel that is in use; a channel without one counts as "active".
bool isLive(const AgentChannel& channel);
std::optional<AgentChannel> emailChannel(const QList<AgentChannel>& channels);
std::optional<AgentChannel> phoneChannel(const QList<AgentChannel>& channels);

} // namespace ChannelCatalog

} // namespace halvex
