#pragma once
// A selectable language model ("brain") and a menu section of them.
#include <QHashFunctions>
#include <QList>
#include <QString>

namespace halvex {

struct BrainModel {
    QString id;       // stored on the employee and sent to the service
    QString provider; // provider slug
    QString model;    // the provider's own model name
    QString label;
    bool operator==(const BrainModel&) const = default;
};

inline size_t qHash(const BrainModel& m, size_t seed = 0)
{
    return qHashMulti(seed, m.id, m.provider, m.model, m.label);
}

struct LlmModelGroup {
    QString id; // provider slug
    QString label;
    QList<BrainModel> models;
    bool operator==(const LlmModelGroup&) const = default;
};

} // namespace halvex
