#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvo::cli
{

/** JSON text helpers for command output; numbers print in their shortest exact form. */
inline std::string jsonString (const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s)
    {
        switch (c)
        {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20)
                {
                    char buf[8];
                    std::snprintf (buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                }
                else
                    out += (char) c;
        }
    }
    return out + "\"";
}

inline std::string jsonNumber (double v)
{
    if (! std::isfinite (v))
        return "null";
    if (v == std::floor (v) && std::fabs (v) < 1e15)
        return std::to_string ((long long) v);
    char buf[32];
    for (int precision = 1; precision <= 17; ++precision)
    {
        std::snprintf (buf, sizeof buf, "%.*g", precision, v);
        if (std::strtod (buf, nullptr) == v)
            break;
    }
    return buf;
}

} // namespace orvo::cli
