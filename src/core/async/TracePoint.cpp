#include "core/async/TracePoint.h"

namespace halvex {
Q_LOGGING_CATEGORY(traceCategory, "halvex.trace", QtWarningMsg)
} // namespace halvex
