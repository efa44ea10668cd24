#pragma once
// The user's stored model provider keys, for the model menus.
#include "agents/model/LlmApiKey.h"
#include "core/async/CancelToken.h"
#include "core/net/APIClient.h"

#include <qcorotask.h>

namespace halvex {

class LlmKeysService {
public:
    explicit LlmKeysService(APIClient& api) : m_api(&api) {}
    QCoro::Task<QList<LlmApiKey>> keys(CancelToken token = {});

private:
    APIClient* m_api;
};

} // namespace halvex
