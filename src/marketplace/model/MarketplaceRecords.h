#pragma once
// Ready-made employees offered for hire: the light summary of every entry, and the full record
// fetched in batches as the list is scrolled.
#include "core/json/JsonReader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace halvex {

struct MarketplaceSummaryWorker {
    QString id;
    QString name;
    std::optional<QString> service;
    std::optional<qint64> installsCount;
    static MarketplaceSummaryWorker decode(const JsonReader& json);
};

struct MarketplaceSkill {
    std::optional<QString> name;
    std::optional<QString> description;
    static MarketplaceSkill decode(const JsonReader& json);
};

struct MarketplaceCapabilities {
    std::optional<QString> service;
    static MarketplaceCapabilities decode(const JsonReader& json);
};

struct MarketplaceWorker {
    QString id;
    QString name;
    std::optional<QString> description;
    std::optional<QString> sectorSlug;
    std::optional<QString> creatorFullName;
    std::optional<qint64> toolsCount;
    std::optional<qint64> playbookStepsCount;
    std::optional<qint64> installsCount;
    std::optional<double> ratingAvg;
    std::optional<QString> avatarUrl;
    std::optional<QList<MarketplaceSkill>> skills;
    std::optional<QStringList> exampleTasks;
    std::optional<MarketplaceCapabilities> capabilities;
    std::optional<QStringList> toolsSummary;

    // Composed when decoded, for the cards.
    QString service;        // the capabilities' service, empty when none
    QString specialtyLabel; // the sector in words, else the service
    QString shortPitch;     // the description's first sentence, at most 140 characters
    QStringList showcaseTasks;
    QStringList showcaseTools;
    QString runsCountLabel; // "New", "1 hire", "1.2k hires"

    static MarketplaceWorker decode(const JsonReader& json);
};

namespace Marketplace {

// The order the list shows: most hired first, then by name; the service's order is not kept.
QList<MarketplaceSummaryWorker> sorted(QList<MarketplaceSummaryWorker> summary);
// "All" and those of "Email Marketing", "Web Design" and "Research" that occur.
QStringList primaryFilters(const QStringList& services);
// The other services that occur, each once, in order of first appearance, at most eight.
QStringList secondaryFilters(const QStringList& services);
QString runsCountLabel(std::optional<qint64> installs);

} // namespace Marketplace

} // namespace halvex
