#include "agents/service/LlmKeysService.h"

namespace halvex {

namespace {

struct KeysAnswer {
    QList<LlmApiKey> keys;
    static KeysAnswer decode(const JsonReader& json)
    {
        return {json.optional<QList<LlmApiKey>>("api_keys").value_or(QList<LlmApiKey>())};
    }
};

} // namespace

QCoro::Task<QList<LlmApiKey>> LlmKeysService::keys(CancelToken token)
{
    const KeysAnswer answer
        = co_await m_api->get<KeysAnswer>(QStringLiteral("api/v2/user/api-keys"), {}, std::move(token));
    co_return answer.keys;
}

} // namespace halvex
