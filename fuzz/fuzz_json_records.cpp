// Arbitrary bytes as answers: decoding fails only with APIError, never a crash or a hang.
#include "chat/model/ChatHistory.h"
#include "core/APIError.h"
#include "core/json/JSONValue.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const halvex::JSONValue value = halvex::JSONValue::parse(bytes);
        if (!(halvex::JSONValue::parse(value.toJson()) == value))
            __builtin_trap();
    } catch (const halvex::APIError&) {}
    try {
        (void)halvex::decodeJSON<halvex::ChatHistoryResponse>(bytes);
    } catch (const halvex::APIError&) {}
    return 0;
}
