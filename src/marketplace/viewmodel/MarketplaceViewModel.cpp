#include "marketplace/viewmodel/MarketplaceViewModel.h"

#include <algorithm>

namespace halvex {

MarketplaceViewModel::MarketplaceViewModel(APIClient& api, QObject* parent) : QObject(parent), m_service(api) {}

QList<MarketplaceWorker> MarketplaceViewModel::filtered() const
{
    if (m_filter == u"All")
        return m_workers;
    QList<MarketplaceWorker> out;
    for (const MarketplaceWorker& w : m_workers)
        if (w.service == m_filter)
            out.append(w);
    return out;
}

void MarketplaceViewModel::setFilter(const QString& filter)
{
    m_filter = filter.isEmpty() ? QStringLiteral("All") : filter;
    Q_EMIT changed();
}

QStringList MarketplaceViewModel::services() const
{
    QStringList out;
    for (const MarketplaceSummaryWorker& s : m_summary)
        out << s.service.value_or(QString());
    for (const MarketplaceWorker& w : m_workers)
        out << w.service;
    return out;
}

QStringList MarketplaceViewModel::primaryFilters() const { return Marketplace::primaryFilters(services()); }
QStringList MarketplaceViewModel::secondaryFilters() const { return Marketplace::secondaryFilters(services()); }

QCoro::Task<void> MarketplaceViewModel::load()
{
    const CancelToken token = m_load.next();
    m_batch.cancel(); // a batch of the list before belongs to it
    m_isLoading = true;
    m_error.reset();
    m_needsLogin = false;
    m_paginationFailed = false;
    m_isLoadingPage = false;
    Q_EMIT changed();
    try {
        QList<MarketplaceSummaryWorker> summary = co_await m_service.summary(token);
        if (token.isCancelled())
            co_return;
        m_summary = Marketplace::sorted(std::move(summary));
        m_orderedIds.clear();
        for (const MarketplaceSummaryWorker& s : std::as_const(m_summary))
            m_orderedIds << s.id;
        m_nextPageOffset = 0;
        m_workers.clear();
    } catch (const APIError& e) {
        if (token.isCancelled() || isCancellation(e))
            co_return;
        if (e.kind() == APIError::Kind::unauthorized)
            m_needsLogin = true;
        else
            m_error = e.description().isEmpty() ? QStringLiteral("Failed to load marketplace") : e.description();
        m_isLoading = false;
        Q_EMIT changed();
        co_return;
    }
    m_isLoading = false;
    Q_EMIT changed();
    co_await loadNextBatch();
}

QCoro::Task<void> MarketplaceViewModel::loadNextBatch()
{
    if (m_isLoadingPage || !hasMore())
        co_return;
    const CancelToken token = m_batch.next();
    const QStringList ids = m_orderedIds.mid(m_nextPageOffset, batchSize);
    m_isLoadingPage = true;
    m_paginationFailed = false;
    Q_EMIT changed();
    try {
        const QList<MarketplaceWorker> page = co_await m_service.page(ids, token);
        if (token.isCancelled())
            co_return;
        for (const QString& id : ids) {
            const auto found
                = std::find_if(page.cbegin(), page.cend(), [&](const MarketplaceWorker& w) { return w.id == id; });
            if (found != page.cend())
                m_workers.append(*found);
        }
        m_nextPageOffset += ids.size();
    } catch (const APIError& e) {
        if (token.isCancelled() || isCancellation(e))
            co_return;
        m_paginationFailed = true;
    }
    m_isLoadingPage = false;
    Q_EMIT changed();
}

void MarketplaceViewModel::stop()
{
    m_load.cancel();
    m_batch.cancel();
    m_isLoading = m_isLoadingPage = false;
}

} // namespace halvex
