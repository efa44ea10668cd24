#pragma once
// Named trace points for profiling start-up. They record nothing the program reads back and
// never change behaviour; with a category filter set (QT_LOGGING_RULES="halvex.trace=true")
// they show as debug lines.
#include <QElapsedTimer>
#include <QLoggingCategory>

namespace halvex {

Q_DECLARE_LOGGING_CATEGORY(traceCategory)

// A span: from construction to destruction.
class TraceSpan {
public:
    explicit TraceSpan(const char* name) : m_name(name) { m_timer.start(); }
    ~TraceSpan() { qCDebug(traceCategory, "%s took %lld ms", m_name, static_cast<long long>(m_timer.elapsed())); }
    TraceSpan(const TraceSpan&) = delete;
    TraceSpan& operator=(const TraceSpan&) = delete;

private:
    const char* m_name;
    QElapsedTimer m_timer;
};

inline void traceEvent(const char* name) { qCDebug(traceCategory, "%s", name); }

} // namespace halvex
