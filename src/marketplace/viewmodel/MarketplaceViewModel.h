#pragma once
// The marketplace screen's state: the ordered summary, full records fetched nine at a time as
// the list nears its end, and the service filters.
#include "core/async/LatestOnly.h"
#include "marketplace/service/MarketplaceService.h"

#include <QObject>

namespace halvex {

class MarketplaceViewModel : public QObject {
    Q_OBJECT
public:
    static constexpr int batchSize = 9;

    explicit MarketplaceViewModel(APIClient& api, QObject* parent = nullptr);

    const QList<MarketplaceWorker>& workers() const { return m_workers; }
    QList<MarketplaceWorker> filtered() const;
    bool isLoading() const { return m_isLoading; }
    bool isLoadingPage() const { return m_isLoadingPage; }
    const std::optional<QString>& error() const { return m_error; }
    bool needsLogin() const { return m_needsLogin; }
    bool paginationFailed() const { return m_paginationFailed; }
    bool hasMore() const { return m_nextPageOffset < m_orderedIds.size(); }
    QString filter() const { return m_filter; }
    void setFilter(const QString& filter);
    QStringList primaryFilters() const;
    QStringList secondaryFilters() const;

    QCoro::Task<void> load();
    QCoro::Task<void> loadNextBatch();
    void stop();

Q_SIGNALS:
    void changed();

private:
    QStringList services() const;

    MarketplaceService m_service;
    LatestOnly m_load;
    LatestOnly m_batch;
    QList<MarketplaceSummaryWorker> m_summary;
    QStringList m_orderedIds;
    QList<MarketplaceWorker> m_workers;
    qsizetype m_nextPageOffset = 0;
    bool m_isLoading = false;
    bool m_isLoadingPage = false;
    bool m_needsLogin = false;
    bool m_paginationFailed = false;
    std::optional<QString> m_error;
    QString m_filter = QStringLiteral("All");
};

} // namespace halvex
