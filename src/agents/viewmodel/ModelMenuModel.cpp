#include "agents/viewmodel/ModelMenuModel.h"

#include <QVariantMap>

namespace halvex {

ModelMenuModel::ModelMenuModel(APIClient& api, QObject* parent) : QObject(parent), m_keys(api) {}

QCoro::Task<void> ModelMenuModel::reload()
{
    const CancelToken token = m_load.next();
    try {
        const QList<LlmApiKey> keys = co_await m_keys.keys(token);
        if (token.isCancelled())
            co_return;
        m_groups = LlmModelCatalog::groups(connectedProviders(keys));
        Q_EMIT changed();
    } catch (const APIError&) {
        // The menu keeps what it had: the service's own models are always offered.
    }
}

QVariantList ModelMenuModel::entries() const
{
    QVariantList out{QVariantMap{{QStringLiteral("id"), QString()},
                                 {QStringLiteral("label"), QStringLiteral("Account default")},
                                 {QStringLiteral("group"), QString()}}};
    for (const LlmModelGroup& group : m_groups)
        for (const BrainModel& model : group.models)
            out << QVariantMap{{QStringLiteral("id"), model.id},
                               {QStringLiteral("label"), model.label},
                               {QStringLiteral("group"), group.label}};
    return out;
}

} // namespace halvex
