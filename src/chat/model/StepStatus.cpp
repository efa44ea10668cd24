#include "chat/model/StepStatus.h"

namespace halvex::StepStatus {

bool isRunning(const QString& status)
{
    return status == u"running" || status == u"queued" || status == u"pending" || status == u"started"
        || status == u"working";
}

bool isFailed(const QString& status)
{
    return status == u"failed" || status == u"error" || status == u"errored" || status == u"cancelled"
        || status == u"canceled" || status == u"timeout";
}

bool isSettled(const QString& status)
{
    return isFailed(status) || status == u"done" || status == u"completed" || status == u"succeeded"
        || status == u"success";
}

} // namespace halvex::StepStatus
