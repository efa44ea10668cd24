#pragma once
// The words a step's "status" takes on its way from started to over, in one vocabulary for the
// list's merge rules and for the reasoning cards.
#include <QString>

namespace halvex::StepStatus {

bool isRunning(const QString& status);
bool isFailed(const QString& status);
// Over, one way or another: finished, failed or called off.
bool isSettled(const QString& status);

} // namespace halvex::StepStatus
