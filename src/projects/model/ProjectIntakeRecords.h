#pragma once
// What project intake exchanges with the service: the reading of the website, the questions it
// asks, the profile it writes, and the editable profile the user reviews.
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace halvex {

// The service's reading of the website.
struct ProjectIntakeSource {
    QString status;
    QString canonicalURL;
    QString title;
    QStringList pages; // pages read
    QStringList facts;
    QString digest;
    QString warning; // shown when the website could not be read well
    std::optional<QString> token;

    static ProjectIntakeSource decode(const JsonReader& json);
    // The same eight keys as the answer (the token only when present).
    JSONObject payload() const;
    bool hasToken() const { return token && !token->isEmpty(); }
    bool operator==(const ProjectIntakeSource&) const = default;
};

struct ProjectIntakeQuestion {
    QString key;
    QString question;
    QStringList options;
    std::optional<QString> hint;

    static ProjectIntakeQuestion decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const ProjectIntakeQuestion&) const = default;
};

struct ProjectIntakeAnswer {
    QString key;
    QString answer;
    JSONObject encode() const;
    bool operator==(const ProjectIntakeAnswer&) const = default;
};

struct ProjectIntakeQuestionsResponse {
    bool ok = false;
    QString language;
    ProjectIntakeSource source;
    QList<ProjectIntakeQuestion> questions;
    static ProjectIntakeQuestionsResponse decode(const JsonReader& json);
};

struct ProjectIntakeOverviewDTO {
    QString description;
    QString productAudience;
    QString desiredResult;
    QString competitors;
    QString constraints;
    static ProjectIntakeOverviewDTO decode(const JsonReader& json);
};

struct ProjectIntakeOverviewResponse {
    bool ok = false;
    QString language;
    ProjectIntakeOverviewDTO overview;
    QStringList needsInput; // field keys that still need the user
    std::optional<ProjectIntakeSource> source;
    static ProjectIntakeOverviewResponse decode(const JsonReader& json);
};

// The editable profile. Its fields are also addressed by their wire keys ("description",
// "product_audience", "desired_result", "competitors", "constraints").
struct ProjectOverview {
    QString description;
    QString productAudience;
    QString desiredResult;
    QString competitors;
    QString constraints;

    static const QStringList& fieldKeys();
    static ProjectOverview from(const ProjectIntakeOverviewDTO& dto);
    // Empty for an unknown key; setting an unknown key does nothing.
    QString field(const QString& key) const;
    void setField(const QString& key, const QString& value);

    // The wire form: the five snake-case keys.
    JSONObject wire() const;
    // The local form, with camel-case keys.
    JSONObject encode() const;
    static ProjectOverview decode(const JsonReader& json);
    bool operator==(const ProjectOverview&) const = default;
};

} // namespace halvex
