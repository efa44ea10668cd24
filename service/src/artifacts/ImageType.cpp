#include "artifacts/ImageType.h"

#include <algorithm>
#include <cctype>

namespace service {

namespace {

bool startsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

bool isImage(const std::string& mime) { return startsWith(mime, "image/"); }

// "type/subtype" of token characters, optionally followed by parameters.
bool wellFormed(const std::string& mime)
{
    const std::string bare = mime.substr(0, mime.find(';'));
    const size_t slash = bare.find('/');
    if (slash == std::string::npos || slash == 0 || slash + 1 == bare.size() || bare.size() > 100)
        return false;
    return std::all_of(bare.begin(), bare.end(), [](unsigned char c) {
        return std::isalnum(c) || std::string("/!#$&^_.+-").find(char(c)) != std::string::npos;
    });
}

// SVG is text: it is one when it says so near its start.
bool looksLikeSvg(const std::string& bytes) { return bytes.substr(0, 1024).find("<svg") != std::string::npos; }

} // namespace

std::string rasterImageType(const std::string& bytes)
{
    if (startsWith(bytes, "\x89PNG\r\n\x1a\n"))
        return "image/png";
    if (startsWith(bytes, "\xFF\xD8\xFF"))
        return "image/jpeg";
    if (startsWith(bytes, "GIF87a") || startsWith(bytes, "GIF89a"))
        return "image/gif";
    if (bytes.size() >= 12 && startsWith(bytes, "RIFF") && bytes.compare(8, 4, "WEBP") == 0)
        return "image/webp";
    return {};
}

std::string servedType(const std::string& declared, const std::string& bytes, const std::string& byName)
{
    if (std::string raster = rasterImageType(bytes); !raster.empty())
        return raster;
    std::string lower = declared;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    const auto backed = [&](const std::string& mime) {
        return !isImage(mime) || (startsWith(mime, "image/svg+xml") && looksLikeSvg(bytes));
    };
    if (wellFormed(lower) && lower != "application/octet-stream" && backed(lower))
        return lower;
    if (!byName.empty() && backed(byName))
        return byName;
    return "application/octet-stream";
}

} // namespace service
