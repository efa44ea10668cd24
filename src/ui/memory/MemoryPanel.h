#pragma once
// The memory panel as QML reads it: opened for the employee of the open chat, it keeps that
// employee's model and shows its entries, knowledge rows and graph as plain maps. Choosing
// another chat closes it.
#include "memory/viewmodel/MemoryPanelModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace halvex {

class AgentListViewModel;

class MemoryPanel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool open READ isOpen NOTIFY changed)
    Q_PROPERTY(QString agentName READ agentName NOTIFY changed)
    Q_PROPERTY(int tab READ tab WRITE setTab NOTIFY changed)
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    Q_PROPERTY(bool loaded READ loaded NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(QVariantList groups READ groups NOTIFY changed)
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY changed)
    Q_PROPERTY(QVariantList rows READ rows NOTIFY changed)
    Q_PROPERTY(QVariantList filters READ filters NOTIFY changed)
    Q_PROPERTY(QString kbSearch READ kbSearch WRITE setKbSearch NOTIFY changed)
    Q_PROPERTY(QString kbFilter READ kbFilter WRITE setKbFilter NOTIFY changed)
    Q_PROPERTY(QString kbLink READ kbLink WRITE setKbLink NOTIFY changed)
    Q_PROPERTY(QString memInput READ memInput WRITE setMemInput NOTIFY changed)
    Q_PROPERTY(bool kbBusy READ kbBusy NOTIFY changed)
    Q_PROPERTY(bool memBusy READ memBusy NOTIFY changed)
    Q_PROPERTY(QString importReport READ importReport NOTIFY changed)
    Q_PROPERTY(QVariantList graphNodes READ graphNodes NOTIFY changed)
public:
    MemoryPanel(APIClient& api, AgentListViewModel& sidebar, QObject* parent = nullptr);
    ~MemoryPanel() override;

    // The open panel's model; null while closed.
    MemoryPanelModel* model() const { return m_model.get(); }
    bool isOpen() const { return m_model != nullptr; }
    QString agentName() const { return m_model ? m_model->agentName() : QString(); }
    // 0 knowledge base, 1 memories, 2 graph.
    int tab() const { return m_model ? int(m_model->tab()) : int(MemoryPanelModel::Tab::memories); }
    void setTab(int tab);
    bool loading() const { return m_model && m_model->isLoading(); }
    bool loaded() const { return m_model && m_model->isLoaded(); }
    QString error() const { return m_model ? m_model->error().value_or(QString()) : QString(); }
    // {cat, items: [{id, icon, badge, scopeLabel, text, when}]}
    QVariantList groups() const;
    QString emptyText() const { return m_model ? m_model->emptyText() : QString(); }
    // The rows the search and filter leave: {id, icon, type, typeName, name, meta, url, removable}
    QVariantList rows() const;
    // "All" and each type present: {key, label, count}
    QVariantList filters() const;
    QString kbSearch() const { return m_model ? m_model->kbSearch : QString(); }
    void setKbSearch(const QString& text);
    // A type key ("doc", "link" …), or empty for every type.
    QString kbFilter() const;
    void setKbFilter(const QString& key);
    QString kbLink() const { return m_model ? m_model->kbLink : QString(); }
    void setKbLink(const QString& text);
    QString memInput() const { return m_model ? m_model->memInput : QString(); }
    void setMemInput(const QString& text);
    bool kbBusy() const { return m_model && m_model->isKbBusy(); }
    bool memBusy() const { return m_model && m_model->isMemBusy(); }
    // The skipped files of the last import, one a line.
    QString importReport() const { return m_model ? m_model->importReports().join(QLatin1Char('\n')) : QString(); }
    // {id, label, icon, kind ("centre", "hub", "leaf"), x, y, parentX, parentY}
    QVariantList graphNodes() const;

    // Opens the panel for the employee of the selected chat; nothing for a team's chat.
    Q_INVOKABLE void openForSelected();
    Q_INVOKABLE void openFor(const QString& agentId, const QString& agentName);
    Q_INVOKABLE void close();
    Q_INVOKABLE void reload();
    Q_INVOKABLE void dismissError();
    Q_INVOKABLE void addMemory();
    Q_INVOKABLE void forget(const QString& entryId);
    Q_INVOKABLE void addLink();
    Q_INVOKABLE void importFiles(const QList<QUrl>& files);
    Q_INVOKABLE void removeRow(const QString& rowId);

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    void follow();

    APIClient& m_api;
    AgentListViewModel& m_sidebar;
    std::unique_ptr<MemoryPanelModel> m_model;
};

} // namespace halvex
