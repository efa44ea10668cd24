#include "core/net/NetworkReachability.h"

#include "core/async/Clock.h"

#include <QNetworkInformation>

#include <memory>

namespace halvex {
namespace {

class SystemReachability final : public NetworkReachability {
public:
    SystemReachability()
    {
        // Loading the backend (a plugin that asks the system over D-Bus) takes milliseconds the
        // first window should not wait for; until it answers the machine counts as online, as
        // it does without a backend.
        m_backendLoad = Clock::system().schedule(kBackendDelayMs, [this] {
            if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
                return;
            m_info = QNetworkInformation::instance();
            connect(m_info, &QNetworkInformation::reachabilityChanged, this,
                    [this] { Q_EMIT onlineChanged(isOnline()); });
            if (!isOnline())
                Q_EMIT onlineChanged(false);
        });
    }

    bool isOnline() const override
    {
        // Only a definite "disconnected" counts as offline: a missing or undecided backend must
        // never block requests.
        return !m_info || m_info->reachability() != QNetworkInformation::Reachability::Disconnected;
    }

private:
    static constexpr int kBackendDelayMs = 1'000;
    QNetworkInformation* m_info = nullptr;
    std::unique_ptr<TimerHandle> m_backendLoad;
};

} // namespace

NetworkReachability& NetworkReachability::system()
{
    static auto* reachability = new SystemReachability; // lives as long as the process
    return *reachability;
}

} // namespace halvex
