#include "chat/service/ApprovalService.h"

namespace halvex {

QCoro::Task<ApprovalResolution> ApprovalService::send(ApprovalRequest request, CancelToken token)
{
    const std::optional<double> defaultTimeout;
    co_return co_await m_api->postJSON<ApprovalResolution>(request.path, request.body, defaultTimeout, token);
}

} // namespace halvex
