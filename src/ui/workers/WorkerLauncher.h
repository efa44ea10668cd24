#pragma once
// The launcher as its popup reads it, and the launch status line the composer shows after the
// popup closed. Results are delivered into the chat that is open when a worker is started.
#include "workers/viewmodel/WorkerLauncherModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class AgentListViewModel;
class WorkerBuilderSheet;

class WorkerLauncher : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(QString mode READ mode NOTIFY changed)
    Q_PROPERTY(QVariantList rows READ rows NOTIFY changed)
    Q_PROPERTY(bool loaded READ loaded NOTIFY changed)
    Q_PROPERTY(QString busyId READ busyId NOTIFY changed)
    Q_PROPERTY(QString notice READ notice NOTIFY changed)
    Q_PROPERTY(bool noticeIsError READ noticeIsError NOTIFY changed)
    Q_PROPERTY(QString launchTitle READ launchTitle NOTIFY changed)
    Q_PROPERTY(QString launchPhase READ launchPhase NOTIFY changed)
    Q_PROPERTY(QString launchMessage READ launchMessage NOTIFY changed)
    Q_PROPERTY(QVariantList marketplaceRows READ marketplaceRows NOTIFY changed)
    Q_PROPERTY(bool marketplaceLoading READ marketplaceLoading NOTIFY changed)
    Q_PROPERTY(bool marketplaceHasMore READ marketplaceHasMore NOTIFY changed)
    Q_PROPERTY(QString marketplaceError READ marketplaceError NOTIFY changed)
public:
    WorkerLauncher(APIClient& api, Clock& clock, AgentListViewModel& sidebar, WorkerBuilderSheet& builder,
                   QObject* parent = nullptr);

    WorkerLauncherModel& model() { return m_model; }
    QString mode() const;
    // {id, name, meta, initial}
    QVariantList rows() const;
    bool loaded() const { return m_model.isLoaded(); }
    QString busyId() const { return m_model.busyId().value_or(QString()); }
    QString notice() const { return m_model.notice().value_or(QString()); }
    bool noticeIsError() const { return m_model.noticeIsError(); }
    QString launchTitle() const;
    // "", "starting", "accepted" or "failed".
    QString launchPhase() const;
    QString launchMessage() const;
    // {id, name, description, byline, counts, installed, owned}
    QVariantList marketplaceRows() const;
    bool marketplaceLoading() const { return m_model.marketplaceLoading(); }
    bool marketplaceHasMore() const { return m_model.marketplaceHasMore(); }
    QString marketplaceError() const { return m_model.marketplaceError().value_or(QString()); }

    // Opened from the composer: the list is read afresh.
    Q_INVOKABLE void show();
    Q_INVOKABLE void hide();
    Q_INVOKABLE void selectMode(const QString& mode);
    Q_INVOKABLE void run(const QString& workerId);
    Q_INVOKABLE void remove(const QString& workerId);
    Q_INVOKABLE void install(const QString& itemId);
    Q_INVOKABLE void loadMore();
    Q_INVOKABLE void edit(const QString& workerId);
    Q_INVOKABLE void newWorker();
    Q_INVOKABLE void dismissNotice() { m_model.dismissNotice(); }

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    std::optional<QString> deliveryTarget() const;

    AgentListViewModel& m_sidebar;
    WorkerBuilderSheet& m_builder;
    WorkerLauncherModel m_model;
};

} // namespace halvex
