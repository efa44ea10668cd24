// Arbitrary bytes through the inline renderer. Whatever the input, the output holds only the
// tags the renderer writes, properly nested, and every link address is http, https or mailto.
#include "richtext/inline/InlineRenderer.h"
#include "richtext/inline/LinkPolicy.h"

#include <QString>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

QString unescaped(QString value)
{
    value.replace(QLatin1String("&quot;"), QLatin1String("\""));
    value.replace(QLatin1String("&lt;"), QLatin1String("<"));
    value.replace(QLatin1String("&gt;"), QLatin1String(">"));
    value.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return value;
}

// The value of name="…" inside a tag; a value may hold no quote or angle bracket.
QString attribute(const QString& tag, QLatin1String name)
{
    const qsizetype at = tag.indexOf(name + QLatin1String("=\""));
    require(at >= 0);
    const qsizetype start = at + name.size() + 2;
    const qsizetype end = tag.indexOf(u'"', start);
    require(end > start);
    const QString value = tag.sliced(start, end - start);
    require(!value.contains(u'<') && !value.contains(u'>'));
    return value;
}

void checkHref(const QString& escapedHref)
{
    const QString href = unescaped(escapedHref);
    require(halvex::LinkPolicy::isOpenable(href));
    const QString scheme = QUrl(href).scheme().toLower();
    require(scheme == u"http" || scheme == u"https" || scheme == u"mailto");
    for (QChar c : href)
        require(c.unicode() > 0x20 && c.unicode() != 0x7f);
}

void checkWellFormed(const QString& html)
{
    std::vector<QString> open;
    bool inLink = false;
    for (qsizetype i = 0; i < html.size();) {
        const QChar c = html[i];
        require(c != u'>');
        if (c != u'<') {
            ++i;
            continue;
        }
        const qsizetype end = html.indexOf(u'>', i);
        require(end > i);
        const QString tag = html.sliced(i, end - i + 1);
        i = end + 1;
        if (tag == u"<br>")
            continue;
        if (tag.startsWith(QLatin1String("</"))) {
            const QString name = tag.sliced(2, tag.size() - 3);
            require(!open.empty() && open.back() == name);
            if (name == u"a")
                inLink = false;
            open.pop_back();
            continue;
        }
        if (tag == u"<i>" || tag == u"<s>") {
            open.push_back(tag.sliced(1, 1));
        } else if (tag.startsWith(QLatin1String("<span style=\""))) {
            attribute(tag, QLatin1String("style"));
            open.push_back(QStringLiteral("span"));
        } else {
            require(tag.startsWith(QLatin1String("<a href=\"")) && !inLink);
            checkHref(attribute(tag, QLatin1String("href")));
            inLink = true;
            open.push_back(QStringLiteral("a"));
        }
    }
    require(open.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    // A lone surrogate, as a decoded JSON string may carry, now and then.
    if (size > 2 && data[0] == 0xff)
        text.insert(text.size() / 2, QChar(0xD800 + data[1]));
    const halvex::InlineStyle style;
    for (const QString& html :
         {halvex::InlineRenderer::render(text, style), halvex::InlineRenderer::renderListItem(text, style)}) {
        if (text.isEmpty()) {
            require(html.isEmpty());
            continue;
        }
        require(html.startsWith(QLatin1String("<span style=\"white-space:pre-wrap\">")));
        checkWellFormed(html);
    }
    return 0;
}
