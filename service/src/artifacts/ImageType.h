#pragma once
// What an uploaded file is served as. A raster image is recognised by its first bytes, so an image
// sent as generic bytes still shows as one, and a file that only claims to be an image does not.
#include <string>

namespace service {

// "image/png", "image/jpeg", "image/gif" or "image/webp" by the bytes' signature; empty otherwise.
std::string rasterImageType(const std::string& bytes);

// The type to store and serve an upload with: what its bytes show when they are a raster image;
// otherwise the declared type when it is a well-formed one that claims no image it cannot back;
// otherwise the type its name suggests (`byName`), or generic bytes.
std::string servedType(const std::string& declared, const std::string& bytes, const std::string& byName);

} // namespace service
