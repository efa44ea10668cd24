#pragma once
// The local service for the start-up benchmarks, started once per run: signed in to a cookie
// file the probes reuse (so they start straight into the main window), and every employee's
// chat and the team's given a few dozen turns of history.
#include "support/ServiceProcess.h"

#include <QString>
#include <QTemporaryDir>
#include <QUrl>

namespace halvex::bench {

class SeededService {
public:
    // The one service of this process; empty `error()` when it is ready.
    static SeededService& instance();

    QUrl origin() const { return m_service.origin(); }
    QString cookieFile() const { return m_dir.filePath(QStringLiteral("cookies")); }
    QString preferencesFile() const { return m_dir.filePath(QStringLiteral("prefs.ini")); }
    // The chat runs unfold the team; the start-up runs keep the sidebar as it starts.
    QString chatPreferencesFile() const { return m_dir.filePath(QStringLiteral("chat-prefs.ini")); }
    QString error() const { return m_error; }

private:
    SeededService();
    void seed();

    test::ServiceProcess m_service;
    QTemporaryDir m_dir;
    QString m_error;
};

} // namespace halvex::bench
