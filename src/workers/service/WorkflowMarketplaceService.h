#pragma once
// The shared workflow marketplace: pages, installing a private copy, publishing a worker.
#include "core/net/APIClient.h"
#include "workers/model/WorkflowRecords.h"

#include <qcorotask.h>

namespace halvex {

class WorkflowMarketplaceService {
public:
    explicit WorkflowMarketplaceService(APIClient& api) : m_api(&api) {}

    QCoro::Task<WorkflowMarketplacePage> list(std::optional<QString> cursor, CancelToken token = {});
    // The new worker's id.
    QCoro::Task<QString> install(QString id, CancelToken token = {});
    QCoro::Task<void> setAvailable(bool available, QString workerId, CancelToken token = {});

private:
    APIClient* m_api;
};

} // namespace halvex
