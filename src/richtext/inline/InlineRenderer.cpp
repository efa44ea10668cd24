#include "richtext/inline/InlineRenderer.h"

#include "richtext/MarkdownParser.h"
#include "richtext/inline/InlineNodes.h"
#include "richtext/inline/LinkPolicy.h"

#include <vector>

namespace halvex {

namespace {

QString hexColor(quint32 rgb) { return QStringLiteral("#%1").arg(rgb & 0xffffff, 6, 16, QLatin1Char('0')); }

// A font family goes into a quoted style value: nothing that could end it.
QString safeFamily(const QString& family)
{
    QString out;
    for (QChar c : family)
        if (c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_')
            out += c;
    return out;
}

} // namespace

QString InlineStyle::cacheKey() const
{
    return QStringLiteral("%1/%2/%3/%4/%5/%6")
        .arg(hexColor(linkColor), hexColor(mentionColor), hexColor(codeBackground))
        .arg(boldWeight)
        .arg(safeFamily(codeFont))
        .arg(codePointSize);
}

namespace InlineRenderer {

namespace {

using InlineMarkup::EmphasisTag;
using InlineMarkup::Node;

// Escapes markup characters; drops control characters and replaces lone surrogates, which
// hostile text may carry and the rich-text reader would otherwise misread.
void appendText(QString& out, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter);
        } else if (u == u'<') {
            out += QLatin1String("&lt;");
        } else if (u == u'>') {
            out += QLatin1String("&gt;");
        } else if (u == u'&') {
            out += QLatin1String("&amp;");
        } else if (u == u'"') {
            out += QLatin1String("&quot;");
        } else if (u == u'\t' || (u >= 0x20 && u != 0x7f && (u < 0x80 || u > 0x9f))) {
            out += c;
        }
    }
}

QString hostLabel(const QString& address)
{
    QString host = QUrl(address).host();
    if (host.startsWith(QLatin1String("www.")))
        host = host.sliced(4);
    return host.isEmpty() ? address : host;
}

class Writer {
public:
    explicit Writer(const InlineStyle& style)
        : m_strong(QStringLiteral("<span style=\"font-weight:%1\">").arg(std::clamp(style.boldWeight, 100, 900))),
          m_code(QStringLiteral("<span style=\"font-family:'%1';font-size:%2pt;background-color:%3\">")
                     .arg(safeFamily(style.codeFont))
                     .arg(style.codePointSize)
                     .arg(hexColor(style.codeBackground))),
          m_linkColor(hexColor(style.linkColor)),
          m_mention(QStringLiteral("<span style=\"color:%1\">").arg(hexColor(style.mentionColor)))
    {}

    QString write(const QList<Node>& nodes)
    {
        m_out = QStringLiteral("<span style=\"white-space:pre-wrap\">");
        for (qsizetype i = 0; i < nodes.size(); ++i)
            node(nodes[i]);
        m_out += QLatin1String("</span>");
        return std::move(m_out);
    }

private:
    void tag(char t, bool open)
    {
        switch (EmphasisTag(t)) {
        case EmphasisTag::italic:
            m_out += open ? QLatin1String("<i>") : QLatin1String("</i>");
            break;
        case EmphasisTag::strike:
            m_out += open ? QLatin1String("<s>") : QLatin1String("</s>");
            break;
        case EmphasisTag::strong:
            if (open)
                m_out += m_strong;
            else
                m_out += QLatin1String("</span>");
            break;
        }
    }

    // Inside a link, a nested link, address or mention is only its label.
    bool openLink(const QString& target)
    {
        if (!m_links.empty())
            return false;
        const auto url = LinkPolicy::openable(target);
        if (!url)
            return false;
        m_out += QLatin1String("<a href=\"");
        appendText(m_out, url->toString(QUrl::FullyEncoded));
        m_out += QLatin1String("\" style=\"color:") + m_linkColor + QLatin1String("\">");
        return true;
    }

    void node(const Node& n)
    {
        switch (n.kind) {
        case Node::Kind::text:
            appendText(m_out, n.text);
            break;
        case Node::Kind::delimiter:
            for (char t : n.closeTags)
                tag(t, false);
            m_out += QString(n.remaining, n.delimiter);
            for (char t : n.openTags)
                tag(t, true);
            break;
        case Node::Kind::code:
            m_out += m_code;
            appendText(m_out, n.text);
            m_out += QLatin1String("</span>");
            break;
        case Node::Kind::linkOpen: {
            const bool opened = openLink(n.target);
            m_links.push_back(opened);
            if (opened && n.emptyLabel)
                appendText(m_out, n.target);
            break;
        }
        case Node::Kind::linkClose:
            if (!m_links.empty()) {
                if (m_links.back())
                    m_out += QLatin1String("</a>");
                m_links.pop_back();
            }
            break;
        case Node::Kind::lineBreak:
            m_out += QLatin1String("<br>");
            break;
        case Node::Kind::mention:
            if (!m_links.empty()) {
                appendText(m_out, n.text);
                break;
            }
            m_out += m_mention;
            appendText(m_out, n.text);
            m_out += QLatin1String("</span>");
            break;
        case Node::Kind::address: {
            const bool opened = openLink(n.target);
            appendText(m_out, n.folded ? hostLabel(n.text) : n.text);
            if (opened)
                m_out += QLatin1String("</a>");
            break;
        }
        }
    }

    const QString m_strong;
    const QString m_code;
    const QString m_linkColor;
    const QString m_mention;
    QString m_out;
    std::vector<bool> m_links; // per open link label: whether an <a> was written for it
};

} // namespace

QString render(const QString& markdown, const InlineStyle& style)
{
    if (markdown.isEmpty())
        return {};
    return Writer(style).write(InlineMarkup::interpret(MarkdownParser::cleanOrphanEmphasis(markdown)));
}

QString renderListItem(const QString& markdown, const InlineStyle& style)
{
    if (markdown.isEmpty())
        return {};
    const QString cleaned = MarkdownParser::cleanOrphanEmphasis(markdown);
    return Writer(style).write(InlineMarkup::interpret(MarkdownParser::boldLeadingLabel(cleaned)));
}

} // namespace InlineRenderer

} // namespace halvex
