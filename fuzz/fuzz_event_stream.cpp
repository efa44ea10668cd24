// The event-stream reader over arbitrary bytes in arbitrary chunks: lines, events and message
// decoding must never crash, and the same bytes must give the same lines however they are cut.
#include "chat/model/ChatMessage.h"
#include "core/APIError.h"
#include "core/net/sse/SSEFrameParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = qsizetype(data[0]) % bytes.size();

    halvex::SSELineSplitter whole;
    const QStringList expected = whole.append(bytes);
    halvex::SSELineSplitter split;
    QStringList lines = split.append(bytes.left(cut));
    lines += split.append(bytes.mid(cut));
    if (lines != expected)
        __builtin_trap();

    halvex::SSEFrameParser parser;
    for (const QString& line : lines) {
        if (auto event = parser.feed(line)) {
            try {
                (void)halvex::decodeJSON<halvex::ChatMessage>(event->data.toUtf8());
            } catch (const halvex::APIError&) {}
        }
    }
    return 0;
}
