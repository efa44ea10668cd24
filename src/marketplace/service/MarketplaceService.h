#pragma once
// The marketplace of ready-made employees: the summary of all entries, full records by id, and
// hiring one into the workspace, a team or a project.
#include "core/async/CancelToken.h"
#include "core/net/APIClient.h"
#include "marketplace/model/MarketplaceRecords.h"

#include <qcorotask.h>

namespace halvex {

class MarketplaceService {
public:
    explicit MarketplaceService(APIClient& api) : m_api(&api) {}

    QCoro::Task<QList<MarketplaceSummaryWorker>> summary(CancelToken token = {});
    QCoro::Task<QList<MarketplaceWorker>> page(QStringList ids, CancelToken token = {});
    // The new employee's id; hiring one already hired answers the existing employee's id.
    QCoro::Task<QString> hire(QString id, std::optional<QString> teamSlug, std::optional<QString> projectSlug,
                              CancelToken token = {});

private:
    APIClient* m_api;
};

} // namespace halvex
