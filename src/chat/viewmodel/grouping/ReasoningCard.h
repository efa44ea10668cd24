#pragma once
// The summary card of a step group: title, status, step count and the stages worth showing.
#include <QList>
#include <QString>
#include <QStringList>

namespace halvex {

struct ReasoningStage {
    qint64 id = 0; // the message id
    QString actor;
    QString text;
    bool isHandoff = false;
    bool isRunning = false;
    bool isFailed = false;
    int score = 0;       // weight when a finished card picks what to show folded
    QStringList targets; // people handed off to

    bool operator==(const ReasoningStage&) const = default;
};

// Consecutive stages of one actor.
struct ReasoningBlock {
    QString id;
    QString actor;
    bool hasActor = false;
    QList<ReasoningStage> stages;

    bool operator==(const ReasoningBlock&) const = default;
};

enum class ReasoningStatus { running, done, failed };

struct ReasoningCardModel {
    QString title;
    QString meta;
    ReasoningStatus status = ReasoningStatus::done;
    int stepCount = 0;
    QList<ReasoningBlock> collapsedBlocks;
    int hiddenCount = 0;
    QList<ReasoningBlock> fullBlocks;

    bool operator==(const ReasoningCardModel&) const = default;
};

} // namespace halvex
