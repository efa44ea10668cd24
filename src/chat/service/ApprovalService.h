#pragma once
#include "chat/model/ApprovalRequest.h"
#include "core/async/CancelToken.h"
#include "core/net/APIClient.h"

#include <qcorotask.h>

namespace halvex {

class ApprovalService {
public:
    explicit ApprovalService(APIClient& api) : m_api(&api) {}
    QCoro::Task<ApprovalResolution> send(ApprovalRequest request, CancelToken token = {});

private:
    APIClient* m_api;
};

} // namespace halvex
