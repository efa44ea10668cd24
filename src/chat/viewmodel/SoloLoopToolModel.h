#pragma once
// Loop settings of one employee, kept in its free-form capabilities object next to keys other
// screens own. GUI thread only.
#include "agents/service/AgentService.h"
#include "chat/model/LoopToolConfig.h"
#include "core/async/CancelToken.h"

#include <QObject>
#include <QString>

#include <qcorotask.h>

#include <optional>

namespace halvex {

class SoloLoopToolModel : public QObject {
    Q_OBJECT
public:
    SoloLoopToolModel(QString agentId, AgentService service, QObject* parent = nullptr);
    explicit SoloLoopToolModel(QString agentId, QObject* parent = nullptr);
    ~SoloLoopToolModel() override;

    QString agentId() const { return m_agentId; }
    LoopToolConfig config() const { return m_config; }
    bool loaded() const { return m_loaded; }
    bool busy() const { return m_busy; }
    std::optional<QString> notice() const { return m_notice; }
    std::optional<QString> error() const { return m_error; }
    JSONObject rawCapabilities() const { return m_rawCapabilities; }

    // Reads the employee once; a failed read is tried again on the next call.
    QCoro::Task<void> loadIfNeeded();
    // Shows `config` at once and puts the old values back if the write fails.
    QCoro::Task<void> save(LoopToolConfig config);
    void stop();

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    void fail(const std::exception_ptr& error);

    QString m_agentId;
    AgentService m_service;
    LoopToolConfig m_config;
    bool m_loaded = false;
    bool m_loading = false;
    bool m_busy = false;
    std::optional<QString> m_notice;
    std::optional<QString> m_error;
    JSONObject m_rawCapabilities;
    TaskScope m_scope;
};

} // namespace halvex
