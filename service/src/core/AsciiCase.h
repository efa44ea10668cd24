#pragma once
// ASCII case folding for keywords, header names and scripted replies; bytes above 0x7F (UTF-8)
// are left exactly as they are.
#include <string>

namespace service {

inline std::string lowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

} // namespace service
