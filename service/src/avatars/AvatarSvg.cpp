#include "avatars/AvatarSvg.h"

#include <cctype>
#include <cstdint>

namespace service {

namespace {

constexpr const char* kDefaultBackground = "ede9fe";

// FNV-1a: stable across builds and platforms, unlike std::hash.
uint64_t seedHash(const std::string& seed)
{
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : seed) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

bool hexColour(const std::string& s)
{
    if (s.size() != 3 && s.size() != 6)
        return false;
    for (unsigned char c : s)
        if (!std::isxdigit(c))
            return false;
    return true;
}

const char* const kSkin[] = {"#f8d9c4", "#eec1a0", "#d9a07b", "#b97a56", "#8d5a3b", "#f3c9a8"};
const char* const kHairColour[] = {"#2d2424", "#5b3a29", "#a0522d", "#d8b26e", "#8a8a8a", "#3b2f5c"};
const char* const kHair[] = {
    "M34 58 Q36 26 64 24 Q92 26 94 58 Q86 40 64 38 Q42 40 34 58 Z",
    "M30 64 Q30 22 64 22 Q98 22 98 64 L92 64 Q90 38 64 36 Q38 38 36 64 Z",
    "M36 52 Q44 28 64 28 Q84 28 92 52 Q78 34 64 44 Q50 34 36 52 Z",
    "M32 60 Q34 24 64 24 Q94 24 96 60 Q96 90 88 100 L88 60 Q80 38 64 38 Q48 38 40 60 L40 100 Q32 90 32 60 Z",
};
const char* const kMouth[] = {"M54 80 Q64 88 74 80", "M56 82 L72 82", "M54 82 Q64 76 74 82", "M58 80 Q64 86 70 80"};

std::string percentEncoded(const std::string& s)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~')
            out += char(c);
        else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

} // namespace

std::string avatarUrl(const std::string& origin, const std::string& seed)
{
    return origin + "/9.x/notionists/svg?seed=" + percentEncoded(seed) + "&backgroundColor=" + kDefaultBackground;
}

std::string avatarSvg(const std::string& seed, const std::string& background)
{
    const uint64_t h = seedHash(seed);
    const std::string bg = hexColour(background) ? background : kDefaultBackground;
    const auto pick = [h](int shift, size_t n) { return size_t((h >> shift) % n); };
    const int eyeY = 60 + int(pick(30, 4));
    const int eyeGap = 11 + int(pick(34, 4));
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 128 128\" width=\"128\" height=\"128\">";
    svg += "<rect width=\"128\" height=\"128\" fill=\"#" + bg + "\"/>";
    svg += "<path d=\"M28 128 Q30 100 64 98 Q98 100 100 128 Z\" fill=\"" + std::string(kHairColour[pick(40, 6)])
        + "\" opacity=\"0.35\"/>";
    svg += "<ellipse cx=\"64\" cy=\"66\" rx=\"28\" ry=\"32\" fill=\"" + std::string(kSkin[pick(0, 6)]) + "\"/>";
    svg += "<path d=\"" + std::string(kHair[pick(8, 4)]) + "\" fill=\"" + kHairColour[pick(16, 6)] + "\"/>";
    for (int side : {-1, 1})
        svg += "<circle cx=\"" + std::to_string(64 + side * eyeGap) + "\" cy=\"" + std::to_string(eyeY)
            + "\" r=\"3\" fill=\"#1f1f1f\"/>";
    svg += "<path d=\"" + std::string(kMouth[pick(24, 4)])
        + "\" stroke=\"#1f1f1f\" stroke-width=\"2.5\" fill=\"none\" stroke-linecap=\"round\"/>";
    if (pick(44, 3) == 0)
        svg += "<g stroke=\"#1f1f1f\" stroke-width=\"2\" fill=\"none\"><circle cx=\"" + std::to_string(64 - eyeGap)
            + "\" cy=\"" + std::to_string(eyeY) + "\" r=\"8\"/><circle cx=\"" + std::to_string(64 + eyeGap) + "\" cy=\""
            + std::to_string(eyeY) + "\" r=\"8\"/></g>";
    return svg + "</svg>";
}

} // namespace service
