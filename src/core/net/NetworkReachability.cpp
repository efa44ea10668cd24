#include "core/net/NetworkReachability.h"

#include <QNetworkInformation>

namespace halvex {
namespace {

class SystemReachability final : public NetworkReachability {
public:
    SystemReachability()
    {
        if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
            return;
        m_info = QNetworkInformation::instance();
        connect(m_info, &QNetworkInformation::reachabilityChanged, this, [this] { Q_EMIT onlineChanged(isOnline()); });
    }

    bool isOnline() const override
    {
        // Only a definite "disconnected" counts as offline: a missing or undecided backend must
        // never block requests.
        return !m_info || m_info->reachability() != QNetworkInformation::Reachability::Disconnected;
    }

private:
    QNetworkInformation* m_info = nullptr;
};

} // namespace

NetworkReachability& NetworkReachability::system()
{
    static auto* reachability = new SystemReachability; // lives as long as the process
    return *reachability;
}

} // namespace halvex
