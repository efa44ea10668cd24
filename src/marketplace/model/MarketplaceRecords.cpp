#include "marketplace/model/MarketplaceRecords.h"

#include "core/format/Characters.h"

#include <QRegularExpression>

#include <algorithm>

namespace halvex {

namespace {

const QStringList primaryServices{QStringLiteral("Email Marketing"), QStringLiteral("Web Design"),
                                  QStringLiteral("Research")};

QString sentenceOf(const QString& text)
{
    const QString trimmed = text.simplified();
    qsizetype end = trimmed.indexOf(QStringLiteral(". "));
    QString first = end >= 0 ? trimmed.left(end + 1) : trimmed;
    if (characterCount(first) > 140)
        first = leftCharacters(first, 139).trimmed() + QStringLiteral("…");
    return first;
}

QString words(const QString& slug)
{
    QStringList parts = slug.split(QRegularExpression(QStringLiteral("[-_ ]+")), Qt::SkipEmptyParts);
    for (QString& part : parts)
        part[0] = part[0].toUpper();
    return parts.join(QLatin1Char(' '));
}

} // namespace

MarketplaceSummaryWorker MarketplaceSummaryWorker::decode(const JsonReader& json)
{
    return {json.required<QString>("id"), json.required<QString>("name"), json.optional<QString>("service"),
            json.lenient<qint64>("installs_count")};
}

MarketplaceSkill MarketplaceSkill::decode(const JsonReader& json)
{
    return {json.optional<QString>("name"), json.optional<QString>("description")};
}

MarketplaceCapabilities MarketplaceCapabilities::decode(const JsonReader& json)
{
    return {json.optional<QString>("service")};
}

MarketplaceWorker MarketplaceWorker::decode(const JsonReader& json)
{
    MarketplaceWorker w;
    w.id = json.required<QString>("id");
    w.name = json.required<QString>("name");
    w.description = json.optional<QString>("description");
    w.sectorSlug = json.optional<QString>("sector_slug");
    w.creatorFullName = json.optional<QString>("creator_full_name");
    w.toolsCount = json.lenient<qint64>("tools_count");
    w.playbookStepsCount = json.lenient<qint64>("playbook_steps_count");
    w.installsCount = json.lenient<qint64>("installs_count");
    w.ratingAvg = json.lenient<double>("rating_avg");
    w.avatarUrl = json.optional<QString>("avatar_url");
    w.skills = json.lenient<QList<MarketplaceSkill>>("skills");
    w.exampleTasks = json.lenient<QStringList>("example_tasks");
    w.capabilities = json.lenient<MarketplaceCapabilities>("capabilities");
    w.toolsSummary = json.lenient<QStringList>("tools_summary");

    w.service = w.capabilities ? w.capabilities->service.value_or(QString()) : QString();
    w.specialtyLabel = w.sectorSlug && !w.sectorSlug->isEmpty() ? words(*w.sectorSlug) : w.service;
    w.shortPitch = sentenceOf(w.description.value_or(QString()));
    w.showcaseTasks = w.exampleTasks.value_or(QStringList()).mid(0, 3);
    w.showcaseTools = w.toolsSummary.value_or(QStringList()).mid(0, 4);
    w.runsCountLabel = Marketplace::runsCountLabel(w.installsCount);
    return w;
}

namespace Marketplace {

QList<MarketplaceSummaryWorker> sorted(QList<MarketplaceSummaryWorker> summary)
{
    std::stable_sort(summary.begin(), summary.end(), [](const auto& a, const auto& b) {
        const qint64 ia = a.installsCount.value_or(0);
        const qint64 ib = b.installsCount.value_or(0);
        if (ia != ib)
            return ia > ib;
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return summary;
}

QStringList primaryFilters(const QStringList& services)
{
    QStringList filters{QStringLiteral("All")};
    for (const QString& service : primaryServices)
        if (services.contains(service))
            filters << service;
    return filters;
}

QStringList secondaryFilters(const QStringList& services)
{
    QStringList filters;
    for (const QString& service : services)
        if (!service.isEmpty() && !primaryServices.contains(service) && !filters.contains(service)
            && filters.size() < 8)
            filters << service;
    return filters;
}

QString runsCountLabel(std::optional<qint64> installs)
{
    const qint64 n = installs.value_or(0);
    if (n <= 0)
        return QStringLiteral("New");
    if (n == 1)
        return QStringLiteral("1 hire");
    if (n < 1000)
        return QString::number(n) + QStringLiteral(" hires");
    return QString::number(double(n) / 1000.0, 'f', 1).replace(QStringLiteral(".0"), QString())
        + QStringLiteral("k hires");
}

} // namespace Marketplace

} // namespace halvex
