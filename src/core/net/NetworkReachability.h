#pragma once
// Whether the machine is online. The API client waits on it (bounded by the request time-out)
// instead of failing at once while the network is down.
#include <QObject>

namespace halvex {

class NetworkReachability : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool isOnline() const = 0;

    // The platform's view (the system network information backend); online when it is unknown.
    static NetworkReachability& system();

Q_SIGNALS:
    void onlineChanged(bool online);
};

// A reachability that tests (and platforms without a backend) set by hand.
class ManualReachability final : public NetworkReachability {
    Q_OBJECT
public:
    using NetworkReachability::NetworkReachability;
    bool isOnline() const override { return m_online; }
    void setOnline(bool online)
    {
        if (online == m_online)
            return;
        m_online = online;
        Q_EMIT onlineChanged(online);
    }

private:
    bool m_online = true;
};

} // namespace halvex
