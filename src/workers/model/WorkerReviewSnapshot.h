#pragma once
// A read-only summary of a worker draft for the review screen, and the five sections the
// review groups it under.
#include "core/json/JSONValue.h"

#include <QStringList>

namespace halvex {

struct WorkerReviewSnapshot {
    struct Section {
        QString id;
        QString title;
        QStringList items;
    };
    struct Skill {
        QString id;
        QString name;
        QString description;
        QString content;
    };
    struct Service {
        QString id;
        QString name;
        QString detail;
    };

    QString role;
    QString description;
    QString runMode;
    QString runDetail;
    QString outcome;
    QString audience;
    QList<Section> profileSections;
    QList<Skill> skills;
    QString knowledgeBase;
    QStringList knowledgeSources;
    QStringList constraints;
    QStringList tools;
    QList<Service> services;
    QString systemPrompt;
    QString responseLanguage;
    int stepCount = 0;

    static WorkerReviewSnapshot of(const JSONObject& rawDraft, int stepCount);
};

// One heading of the review with what it lists; `items` empty means the empty text shows.
struct WorkerReviewSection {
    QString heading;
    QString caption;
    QStringList items;
    QString emptyText;
};

QList<WorkerReviewSection> reviewSections(const WorkerReviewSnapshot& snapshot);

} // namespace halvex
