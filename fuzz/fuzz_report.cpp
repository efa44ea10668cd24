// Arbitrary bytes through the report parser in both styles, each line as a source line, and the
// lead split; results must keep the invariants the renderer relies on.
#include "richtext/ReportDocumentParser.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    namespace RP = halvex::ReportDocumentParser;
    for (const auto& block : RP::blocks(text, halvex::MarkdownPresentationStyle::report, true)) {
        if (const auto* group = std::get_if<halvex::MDReportGroup>(&block); group && group->items.isEmpty())
            std::abort();
    }
    RP::blocks(text, halvex::MarkdownPresentationStyle::plain, false);
    RP::makeItem(text, {text});
    RP::splitLead(text);
    for (const auto& source : RP::parseSource(QStringLiteral("Sources: ") + text)) {
        // A shown link is always http(s) with a host.
        if (source.url
            && ((source.url->scheme() != u"http" && source.url->scheme() != u"https") || source.url->host().isEmpty()))
            std::abort();
    }
    return 0;
}
