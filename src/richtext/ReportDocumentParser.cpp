#include "richtext/ReportDocumentParser.h"

#include "core/format/Characters.h"
#include "core/format/SafeHTTPURL.h"
#include "richtext/MarkdownParser.h"
#include "richtext/SharedPattern.h"

#include <QSet>

namespace halvex::ReportDocumentParser {

namespace {

QString withoutEmphasisMarkers(QString s)
{
    s.remove(QLatin1String("**"));
    s.remove(QLatin1String("__"));
    return s.trimmed();
}

bool isPictographOrBlank(char32_t c)
{
    if (c == U' ' || c == U'\t' || c == 0xFE0F || c == 0x200D)
        return true;
    const auto cat = QChar::category(c);
    return cat == QChar::Symbol_Other || (c >= 0x1F000 && c <= 0x1FAFF);
}

std::optional<QUrl> safeURL(const QString& raw) { return SafeHTTPURL::parse(raw); }

} // namespace

std::pair<QString, QString> splitLead(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype i = 0;
    while (i < trimmed.size()) {
        char32_t c = trimmed[i].unicode();
        qsizetype width = 1;
        if (trimmed[i].isHighSurrogate() && i + 1 < trimmed.size() && trimmed[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(trimmed[i], trimmed[i + 1]);
            width = 2;
        }
        if (!isPictographOrBlank(c))
            break;
        i += width;
    }
    const QString emoji = trimmed.first(i).trimmed();
    const QString rest = trimmed.sliced(i);

    if (rest.startsWith(QLatin1String("**"))) {
        const qsizetype close = rest.indexOf(QLatin1String("**"), 2);
        if (close >= 0) {
            static const QRegularExpression leadingDash
                = sharedPattern(QStringLiteral("^\\s*[—–-]?\\s*"), unicodeClasses);
            const QString inner = withoutEmphasisMarkers(rest.sliced(2, close - 2));
            QString body = rest.sliced(close + 2);
            body.remove(leadingDash);
            body = body.trimmed();
            const qsizetype innerLength = characterCount(inner);
            const bool dropped = body.isEmpty() ? innerLength >= 97 : innerLength > 160;
            const QString title = dropped ? QString() : (emoji + u' ' + inner).trimmed();
            return {title, body};
        }
    }
    // Matches start only where white space starts: the same matches, without rescanning long runs.
    static const QRegularExpression spacedDash = sharedPattern(QStringLiteral("(?<!\\s)\\s+[—–]\\s+"), unicodeClasses);
    if (const auto m = spacedDash.match(trimmed); m.hasMatch()) {
        const QString title = withoutEmphasisMarkers(trimmed.first(m.capturedStart()));
        if (const qsizetype length = characterCount(title); length >= 2 && length <= 160)
            return {title, trimmed.sliced(m.capturedEnd()).trimmed()};
    }
    return {QString(), withoutEmphasisMarkers(trimmed)};
}

std::pair<QStringList, qsizetype> collectTrailingParagraphs(const QList<MDBlock>& blocks, qsizetype after)
{
    QStringList texts;
    qsizetype next = after + 1;
    while (next < blocks.size() && blocks[next].kind == MDBlock::Kind::paragraph)
        texts.append(blocks[next++].text);
    return {texts, next};
}

QList<MDReportSource> parseSource(const QString& line)
{
    static const QRegularExpression prefix
        = sharedPattern(QStringLiteral("^(?:Источник(?:и)?|Sources?)\\s*:\\s*(.*)$"), ignoringCase | unicodeClasses);
    static const QRegularExpression link
        = sharedPattern(QStringLiteral("\\[([^\\]]+)\\]\\((https?://[^\\s)]+)\\)"), ignoringCase | unicodeClasses);
    static const QRegularExpression bare
        = sharedPattern(QStringLiteral("https?://[^\\s<>\"']+"), ignoringCase | unicodeClasses);
    static const QRegularExpression separator
        = sharedPattern(QStringLiteral("(?<!\\s)\\s+[—–-]\\s+(?=(?:https?://|[a-z][a-z0-9+.-]*:))"), unicodeClasses);
    static const QRegularExpression trailingPunctuation = sharedPattern(QStringLiteral("[.,;:!?)\\]\"']+$"));
    static const QRegularExpression www = sharedPattern(QStringLiteral("^www\\."));

    const QString trimmed = line.trimmed();
    const auto head = prefix.match(trimmed);
    if (!head.hasMatch())
        return {};
    const QString rest = head.captured(1).trimmed();
    if (rest.isEmpty())
        return {};

    QList<MDReportSource> sources;
    bool anyLink = false;
    for (auto it = link.globalMatch(rest); it.hasNext();) {
        const auto m = it.next();
        anyLink = true;
        const QString label = withoutEmphasisMarkers(m.captured(1));
        const auto url = safeURL(m.captured(2));
        if (!label.isEmpty() && url)
            sources.append({label, url});
    }
    if (anyLink)
        return sources;
    if (const auto m = separator.match(rest); m.hasMatch()) {
        const QString address = rest.sliced(m.capturedEnd()).trimmed();
        return {{withoutEmphasisMarkers(rest.first(m.capturedStart())), safeURL(address)}};
    }
    if (const auto m = bare.match(rest); m.hasMatch()) {
        QString address = m.captured(0);
        address.remove(trailingPunctuation);
        const auto url = safeURL(address);
        QString host = url ? url->host() : QUrl(address).host();
        host.remove(www);
        // An address without a host keeps its text as the label rather than showing nothing.
        return {{host.isEmpty() ? address : host, url}};
    }
    return {{withoutEmphasisMarkers(rest), std::nullopt}};
}

QList<MDReportSource> uniqueSources(const QList<MDReportSource>& sources)
{
    QSet<QString> seen;
    QList<MDReportSource> out;
    for (const auto& s : sources) {
        const QString key = s.label.toLower() + u'|' + (s.url ? s.url->toString() : QString());
        if (seen.contains(key))
            continue;
        seen.insert(key);
        out.append(s);
    }
    return out;
}

MDReportItem makeItem(const QString& lead, const QStringList& trailing)
{
    auto [title, leadBody] = splitLead(lead);
    QStringList parts;
    QList<MDReportSource> sources;
    auto filter = [&](const QString& text) {
        QStringList kept;
        for (const QString& line : text.split(u'\n')) {
            const auto found = parseSource(line);
            if (found.isEmpty())
                kept.append(line);
            else
                sources += found;
        }
        const QString joined = kept.join(u'\n').trimmed();
        if (!joined.isEmpty())
            parts.append(joined);
    };
    if (leadBody.contains(u'\n'))
        filter(leadBody);
    else if (!leadBody.isEmpty())
        parts.append(leadBody);
    for (const QString& paragraph : trailing)
        filter(paragraph);
    return {title, parts.join(QStringLiteral("\n\n")), uniqueSources(sources)};
}

QString sourcesTitle(qsizetype count)
{
    return count == 1 ? QStringLiteral("Источник:") : QStringLiteral("Источники:");
}

QList<MDPresentationBlock> blocks(const QString& text, MarkdownPresentationStyle style, bool readableProse)
{
    QList<MDBlock> parsed = MarkdownParser::parse(text);
    if (readableProse)
        parsed = MarkdownParser::splitReadableProse(parsed);
    QList<MDPresentationBlock> out;
    out.reserve(parsed.size());
    if (style == MarkdownPresentationStyle::plain) {
        for (auto& b : parsed)
            out.append(std::move(b));
        return out;
    }
    for (qsizetype i = 0; i < parsed.size();) {
        const MDBlock& b = parsed[i];
        if (b.kind != MDBlock::Kind::ordered && b.kind != MDBlock::Kind::bullet) {
            out.append(b);
            ++i;
            continue;
        }
        MDReportGroup group;
        group.kind
            = b.kind == MDBlock::Kind::ordered ? MDReportListKind::orderedFrom(b.start) : MDReportListKind::bullet();
        if (b.items.size() == 1 && !splitLead(b.items[0]).first.isEmpty()) {
            auto [paragraphs, next] = collectTrailingParagraphs(parsed, i);
            group.items.append(makeItem(b.items[0], paragraphs));
            i = next;
        } else {
            for (const QString& item : b.items)
                group.items.append(makeItem(item, {}));
            ++i;
        }
        out.append(std::move(group));
    }
    return out;
}

} // namespace halvex::ReportDocumentParser
