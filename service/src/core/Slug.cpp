#include "core/Slug.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <map>

namespace service {

namespace {

constexpr int32_t kMaxSlug = 120;
constexpr int32_t kMaxGroupLabel = 80;

bool asciiAlnum(UChar32 c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

icu::UnicodeString folded(const icu::UnicodeString& text)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return text;
    icu::UnicodeString lower = text;
    lower.toLower(icu::Locale::getRoot());
    const icu::UnicodeString decomposed = nfd->normalize(lower, status);
    icu::UnicodeString out;
    for (int32_t i = 0; i < decomposed.length(); i = decomposed.moveIndex32(i, 1)) {
        const UChar32 c = decomposed.char32At(i);
        const auto type = u_charType(c);
        if (type != U_NON_SPACING_MARK && type != U_ENCLOSING_MARK)
            out.append(c);
    }
    const icu::UnicodeString composed = nfc->normalize(out, status);
    return U_FAILURE(status) ? out : composed;
}

std::string utf8(const icu::UnicodeString& s)
{
    std::string out;
    s.toUTF8String(out);
    return out;
}

bool isSpace(UChar32 c) { return u_isWhitespace(c) || c == 0x00A0 || c == 0x2007 || c == 0x202F || c == 0x85; }

// Trimmed, each run of ASCII white space one space (how the app's pattern "\s+" matches),
// cut to 80 UTF-16 units.
icu::UnicodeString normalizedGroupLabel(const std::string& label)
{
    const icu::UnicodeString raw = icu::UnicodeString::fromUTF8(label);
    int32_t begin = 0, end = raw.length();
    while (begin < end && isSpace(raw.char32At(begin)))
        begin = raw.moveIndex32(begin, 1);
    while (end > begin && isSpace(raw.char32At(raw.moveIndex32(end, -1))))
        end = raw.moveIndex32(end, -1);
    icu::UnicodeString out;
    bool inSpace = false;
    for (int32_t i = begin; i < end; ++i) {
        const char16_t c = raw.charAt(i);
        const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
        if (space && inSpace)
            continue;
        inSpace = space;
        out.append(space ? char16_t(' ') : c);
    }
    out.truncate(kMaxGroupLabel);
    return out;
}

// Letters and digits of the folded text; each run of anything else becomes one "-" between two
// kept parts. Stops once 120 characters are reached.
std::string asciiRuns(const icu::UnicodeString& text)
{
    std::string out;
    bool pending = false;
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        const UChar32 c = text.char32At(i);
        if (!asciiAlnum(c)) {
            pending = true;
            continue;
        }
        if (pending && !out.empty())
            out += '-';
        pending = false;
        out += char(c);
        if (int32_t(out.size()) >= kMaxSlug)
            break;
    }
    out.resize(std::min<size_t>(out.size(), kMaxSlug));
    // The cut may land just after a separator; an address never ends in one.
    while (!out.empty() && out.back() == '-')
        out.pop_back();
    return out;
}

const std::map<UChar32, const char*>& cyrillic()
{
    static const std::map<UChar32, const char*> table{
        {U'а', "a"},  {U'б', "b"},  {U'в', "v"},   {U'г', "g"},  {U'д', "d"}, {U'е', "e"}, {U'ё', "e"}, {U'ж', "zh"},
        {U'з', "z"},  {U'и', "i"},  {U'й', "i"},   {U'к', "k"},  {U'л', "l"}, {U'м', "m"}, {U'н', "n"}, {U'о', "o"},
        {U'п', "p"},  {U'р', "r"},  {U'с', "s"},   {U'т', "t"},  {U'у', "u"}, {U'ф', "f"}, {U'х', "h"}, {U'ц', "ts"},
        {U'ч', "ch"}, {U'ш', "sh"}, {U'щ', "sch"}, {U'ъ', ""},   {U'ы', "y"}, {U'ь', ""},  {U'э', "e"}, {U'ю', "yu"},
        {U'я', "ya"}, {U'і', "i"},  {U'ї', "yi"},  {U'є', "ye"}, {U'ґ', "g"},
    };
    return table;
}

icu::UnicodeString transliterated(const icu::UnicodeString& text)
{
    icu::UnicodeString lower = text;
    lower.toLower(icu::Locale::getRoot());
    icu::UnicodeString out;
    for (int32_t i = 0; i < lower.length(); i = lower.moveIndex32(i, 1)) {
        const UChar32 c = lower.char32At(i);
        const auto found = cyrillic().find(c);
        if (found == cyrillic().end())
            out.append(c);
        else
            out.append(icu::UnicodeString::fromUTF8(found->second));
    }
    return out;
}

} // namespace

std::string foldCaseAndDiacritics(const std::string& text) { return utf8(folded(icu::UnicodeString::fromUTF8(text))); }

std::string groupSlug(const std::string& label)
{
    const std::string slug = asciiRuns(folded(normalizedGroupLabel(label)));
    return slug.empty() ? "group" : slug;
}

std::optional<std::string> projectSlug(const std::string& label)
{
    const icu::UnicodeString name = icu::UnicodeString::fromUTF8(label);
    const std::string plain = asciiRuns(folded(name));
    const std::string latin = asciiRuns(folded(transliterated(name)));
    const std::string chosen = !latin.empty() && latin.size() > plain.size() ? latin : plain;
    if (chosen == "group")
        return std::nullopt;
    return chosen;
}

std::string asciiSlug(const std::string& text) { return asciiRuns(icu::UnicodeString::fromUTF8(text).toLower()); }

} // namespace service
