#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>

namespace orvo::text
{

/** The text without white space at either end. */
inline std::string_view trim (std::string_view text)
{
    while (! text.empty() && std::isspace ((unsigned char) text.front()))
        text.remove_prefix (1);
    while (! text.empty() && std::isspace ((unsigned char) text.back()))
        text.remove_suffix (1);
    return text;
}

/** ASCII letters compared without regard to case; names typed by users are matched this way. */
inline bool equalsIgnoringCase (std::string_view a, std::string_view b)
{
    return a.size() == b.size()
           && std::equal (a.begin(), a.end(), b.begin(),
                          [] (char x, char y) { return std::tolower ((unsigned char) x) == std::tolower ((unsigned char) y); });
}

/** A Program or slot number as log lines and the selector show it: three digits ("005"). */
inline std::string threeDigits (int n)
{
    char buf[8];
    std::snprintf (buf, sizeof buf, "%03d", std::clamp (n, 0, 999));
    return buf;
}

} // namespace orvo::text
