#pragma once
// The memory panel of one employee: what it learned about the user, what its workspace shares,
// the notes the user taught it and its knowledge base; adding and forgetting facts, adding
// links, importing text files and removing knowledge. Lives on the GUI thread.
#include "agents/service/AgentService.h"
#include "core/async/LatestOnly.h"
#include "memory/model/MemoryBuilders.h"
#include "memory/service/MemoryService.h"
#include "projects/service/GoalService.h"

#include <QObject>
#include <QUrl>

namespace halvex {

class MemoryPanelModel : public QObject {
    Q_OBJECT
public:
    enum class Tab { knowledgeBase, memories, graph };
    static constexpr qsizetype maxImportChars = 100000;
    static constexpr int goalsRead = 20;

    MemoryPanelModel(APIClient& api, QString agentId, QString agentName, QObject* parent = nullptr);

    const QString& agentId() const { return m_agentId; }
    const QString& agentName() const { return m_agentName; }
    Tab tab() const { return m_tab; }
    void setTab(Tab tab);
    bool isLoading() const { return m_loading; }
    bool isLoaded() const { return m_loaded; }
    const std::optional<QString>& error() const { return m_error; }
    void clearError();

    const JSONObject& agentDetail() const { return m_agentDetail; }
    const QList<MemoryNoteItem>& notes() const { return m_notes; }
    const QList<AgentTableItem>& tables() const { return m_tables; }
    const QList<AgentFileItem>& files() const { return m_files; }
    const QList<AgentSkillItem>& skills() const { return m_skills; }
    const JSONObject& workspaceMemory() const { return m_workspaceMemory; }
    const QList<KBRow>& resultFiles() const { return m_resultFiles; }

    // Typed by the user; read by the operations below.
    QString kbSearch;
    std::optional<KBRow::RowType> kbFilter;
    QString kbLink;
    QString memInput;
    bool isKbBusy() const { return m_kbBusy; }
    bool isMemBusy() const { return m_memBusy; }
    // Why files of the last import were skipped, one line each ("notes.md: file is empty").
    const QStringList& importReports() const { return m_importReports; }

    QList<MemoryGroup> groups() const;
    // Every knowledge row: the employee's own, what its workspace shares, its goals' results.
    QList<KBRow> kbRows() const;
    // The rows `kbSearch` and `kbFilter` leave.
    QList<KBRow> visibleKbRows() const;
    QMap<KBRow::RowType, int> kbStats() const;
    QList<GraphNode> graphNodes() const;
    // What the memories tab says while there is nothing to show.
    QString emptyText() const;

    QCoro::Task<void> load();
    QCoro::Task<void> loadResultFiles();
    QCoro::Task<void> addMemory();
    QCoro::Task<void> forgetNote(QString noteId);
    QCoro::Task<void> forgetFact(MemoryEntryItem entry);
    QCoro::Task<void> addKbLink();
    QCoro::Task<void> importFiles(QList<QUrl> urls);
    QCoro::Task<void> removeKbRow(KBRow row);
    // Closed: the work in flight is cancelled and its late results are dropped.
    void stop();

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    // One write with `busy` set for its duration; true when it went through. A failure sets
    // `failureText`, or the service's own words when `preferSpecific` and it gave some.
    template <typename Work>
    QCoro::Task<bool> write(bool MemoryPanelModel::*busy, Work work, QString failureText, bool preferSpecific = false);
    void showFailure(const std::exception_ptr& error, const QString& text, bool preferSpecific);
    QCoro::Task<void> patchAgent(JSONObject body, QString failureText);

    AgentService m_agents;
    MemoryService m_service;
    GoalService m_goals;
    QString m_agentId;
    QString m_agentName;
    Tab m_tab = Tab::memories;
    bool m_loading = false;
    bool m_loaded = false;
    std::optional<QString> m_error;
    JSONObject m_agentDetail;
    QList<MemoryNoteItem> m_notes;
    QList<AgentTableItem> m_tables;
    QList<AgentFileItem> m_files;
    QList<AgentSkillItem> m_skills;
    JSONObject m_workspaceMemory;
    QList<KBRow> m_resultFiles;
    bool m_kbBusy = false;
    bool m_memBusy = false;
    QStringList m_importReports;
    LatestOnly m_load;
    LatestOnly m_results;
    TaskScope m_writes;
};

} // namespace halvex
