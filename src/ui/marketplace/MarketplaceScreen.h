#pragma once
// The marketplace as its screen reads it: cards of the loaded employees, the filters, the
// batch state, and the hire sheet of the employee being hired.
#include "marketplace/viewmodel/HireOnboardingModel.h"
#include "marketplace/viewmodel/MarketplaceViewModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace halvex {

class AgentListViewModel;
class AppNotifications;

class MarketplaceScreen : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool open READ isOpen NOTIFY changed)
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    Q_PROPERTY(bool loadingPage READ loadingPage NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(bool needsLogin READ needsLogin NOTIFY changed)
    Q_PROPERTY(bool paginationFailed READ paginationFailed NOTIFY changed)
    Q_PROPERTY(bool hasMore READ hasMore NOTIFY changed)
    Q_PROPERTY(QString filter READ filter WRITE setFilter NOTIFY changed)
    Q_PROPERTY(QStringList primaryFilters READ primaryFilters NOTIFY changed)
    Q_PROPERTY(QStringList secondaryFilters READ secondaryFilters NOTIFY changed)
    Q_PROPERTY(QVariantList workers READ workers NOTIFY changed)
    Q_PROPERTY(bool hireOpen READ hireOpen NOTIFY hireChanged)
    Q_PROPERTY(QVariantMap hireWorker READ hireWorker NOTIFY hireChanged)
    Q_PROPERTY(int hireStep READ hireStep WRITE setHireStep NOTIFY hireChanged)
    Q_PROPERTY(QString goalText READ goalText WRITE setGoalText NOTIFY hireChanged)
    Q_PROPERTY(bool hiring READ hiring NOTIFY hireChanged)
    Q_PROPERTY(QString hireError READ hireError NOTIFY hireChanged)
public:
    MarketplaceScreen(APIClient& api, AgentListViewModel& sidebar, AppNotifications& notifications,
                      QObject* parent = nullptr);
    ~MarketplaceScreen() override;

    bool isOpen() const;
    bool loading() const { return m_model.isLoading(); }
    bool loadingPage() const { return m_model.isLoadingPage(); }
    QString error() const { return m_model.error().value_or(QString()); }
    bool needsLogin() const { return m_model.needsLogin(); }
    bool paginationFailed() const { return m_model.paginationFailed(); }
    bool hasMore() const { return m_model.hasMore(); }
    QString filter() const { return m_model.filter(); }
    void setFilter(const QString& filter) { m_model.setFilter(filter); }
    QStringList primaryFilters() const { return m_model.primaryFilters(); }
    QStringList secondaryFilters() const { return m_model.secondaryFilters(); }
    // One card per shown record: id, name, pitch, specialty, service, runs, tasks, tools, rating, creator.
    QVariantList workers() const;

    bool hireOpen() const { return m_hire != nullptr; }
    QVariantMap hireWorker() const;
    int hireStep() const { return m_hire ? m_hire->step() : 0; }
    void setHireStep(int step);
    QString goalText() const { return m_hire ? m_hire->goalText : QString(); }
    void setGoalText(const QString& text);
    bool hiring() const { return m_hire && m_hire->hiring(); }
    QString hireError() const { return m_hire ? m_hire->error().value_or(QString()) : QString(); }

    Q_INVOKABLE void show();
    Q_INVOKABLE void close();
    Q_INVOKABLE void reload();
    // The list nears its end: the next batch, once per approach.
    Q_INVOKABLE void loadMore();
    Q_INVOKABLE void startHire(const QString& workerId);
    Q_INVOKABLE void closeHire();
    Q_INVOKABLE void hire();

Q_SIGNALS:
    void changed();
    void hireChanged();
    void unauthorized();

private:
    APIClient& m_api;
    AgentListViewModel& m_sidebar;
    AppNotifications& m_notifications;
    MarketplaceViewModel m_model;
    std::unique_ptr<HireOnboardingModel> m_hire;
    bool m_loadedOnce = false;
};

} // namespace halvex
