#include "richtext/inline/LinkPolicy.h"

#include "richtext/MarkdownChars.h"

namespace halvex::LinkPolicy {

namespace {

bool isHidden(QChar c)
{
    const auto category = c.category();
    return category == QChar::Other_Control || category == QChar::Other_Format || c.isSurrogate()
        || category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
}

bool isSchemeChar(QChar c, bool first)
{
    const char16_t u = c.unicode();
    const bool letter = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
    return first ? letter : letter || (u >= u'0' && u <= u'9') || u == u'+' || u == u'.' || u == u'-';
}

} // namespace

bool isOpenable(const QUrl& url)
{
    if (!url.isValid() || url.isRelative())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http" || scheme == u"https")
        return !url.host().isEmpty();
    return scheme == u"mailto" && !url.path().isEmpty();
}

std::optional<QUrl> openable(QStringView raw)
{
    using MarkdownChars::isWhite;
    qsizetype begin = 0, end = raw.size();
    while (begin < end && isWhite(raw[begin]))
        ++begin;
    while (end > begin && isWhite(raw[end - 1]))
        --end;
    const QStringView text = raw.sliced(begin, end - begin);
    qsizetype colon = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isWhite(c) || c.isSpace() || isHidden(c))
            return std::nullopt;
        if (colon < 0 && c == u':')
            colon = i;
        else if (colon < 0 && !isSchemeChar(c, i == 0))
            return std::nullopt; // no scheme: a relative address has nothing to resolve against
    }
    if (colon <= 0)
        return std::nullopt;
    const QUrl url(text.toString(), QUrl::TolerantMode);
    if (!isOpenable(url))
        return std::nullopt;
    return url;
}

bool isOpenable(const QString& raw) { return openable(raw).has_value(); }

} // namespace halvex::LinkPolicy
