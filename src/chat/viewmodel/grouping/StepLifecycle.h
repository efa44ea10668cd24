#pragma once
// A step's title once the step is over: "Opening example.com" settles to "Opened example.com".
#include <QString>

namespace halvex::StepLifecycle {

QString settledTitle(const QString& title);

} // namespace halvex::StepLifecycle
