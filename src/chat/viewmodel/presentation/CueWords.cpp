#include "chat/viewmodel/presentation/CueWords.h"

namespace halvex::CueWords {

namespace {

// Folded one unit at a time, so that no comparison allocates; beyond ASCII the Unicode folding
// still lets the Kelvin sign read as "k", as a case-blind regex would.
char16_t folded(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    return char16_t(QChar::toCaseFolded(char32_t(c)));
}

bool matchesAt(QStringView text, qsizetype at, QLatin1StringView word)
{
    if (at < 0 || text.size() - at < word.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (folded(text[at + i].unicode()) != char16_t(word[i].unicode()))
            return false;
    }
    return true;
}

bool same(QStringView a, QLatin1StringView b) { return a.size() == b.size() && matchesAt(a, 0, b); }

qsizetype find(QStringView text, QLatin1StringView word, qsizetype from)
{
    for (qsizetype at = from; at + word.size() <= text.size(); ++at) {
        if (matchesAt(text, at, word))
            return at;
    }
    return -1;
}

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

} // namespace

bool isOneOf(QStringView text, Words words)
{
    for (const QLatin1StringView word : words) {
        if (same(text, word))
            return true;
    }
    return false;
}

bool containsAny(QStringView text, Words words)
{
    for (const QLatin1StringView word : words) {
        if (find(text, word, 0) >= 0)
            return true;
    }
    return false;
}

bool hasToken(QStringView text, QStringView separators, Words words)
{
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && !separators.contains(text[end]))
            ++end;
        if (end > start && isOneOf(text.sliced(start, end - start), words))
            return true;
        start = end + 1;
    }
    return false;
}

bool endsWithToken(QStringView text, QChar separator, Words words)
{
    for (const QLatin1StringView word : words) {
        if (!matchesAt(text, text.size() - word.size(), word))
            continue;
        const qsizetype before = text.size() - word.size() - 1;
        if (before < 0 || text[before] == separator)
            return true;
    }
    return false;
}

bool hasWholeWord(QStringView text, QLatin1StringView word)
{
    for (qsizetype at = find(text, word, 0); at >= 0; at = find(text, word, at + 1)) {
        const qsizetype after = at + word.size();
        if ((at == 0 || !isWordChar(text[at - 1])) && (after == text.size() || !isWordChar(text[after])))
            return true;
    }
    return false;
}

} // namespace halvex::CueWords
