#pragma once
// A model menu: "Account default", the service's own models, and the models of each provider the
// user connected a key for. Reloads its providers whenever its screen shows it.
#include "agents/model/LlmModelCatalog.h"
#include "agents/service/LlmKeysService.h"
#include "core/async/LatestOnly.h"

#include <QObject>
#include <QVariantList>

namespace halvex {

class ModelMenuModel : public QObject {
    Q_OBJECT
public:
    explicit ModelMenuModel(APIClient& api, QObject* parent = nullptr);

    // Pay-per-use first, then the connected providers in catalog order.
    const QList<LlmModelGroup>& groups() const { return m_groups; }
    // For menus: {id, label, group}, "Account default" (an empty id) first.
    QVariantList entries() const;
    QCoro::Task<void> reload();

Q_SIGNALS:
    void changed();

private:
    LlmKeysService m_keys;
    LatestOnly m_load;
    QList<LlmModelGroup> m_groups = LlmModelCatalog::groups({});
};

} // namespace halvex
