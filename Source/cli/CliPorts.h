#pragma once

#include <string>
#include <vector>

namespace orvo::cli
{

/** Where a command that talks to an instrument finds it: the built-in Virtual Orvo (optionally at
    cable speed), or real ports named by --in and --out. */
struct PortOptions
{
    bool virtualOrvo = false, wireRate = false;
    std::string in, out;

    /** Takes the option at `args[i]` (and its value) when it is one of these; false otherwise. */
    bool take (const std::vector<std::string>& args, size_t& i)
    {
        const auto& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--virtual")
            virtualOrvo = true;
        else if (a == "--wire-rate")
            wireRate = true;
        else if (a == "--in" && hasValue)
            in = args[++i];
        else if (a == "--out" && hasValue)
            out = args[++i];
        else
            return false;
        return true;
    }
    /** Either the Virtual Orvo or both real ports, never a mix. */
    bool valid() const { return virtualOrvo ? in.empty() && out.empty() : ! in.empty() && ! out.empty(); }
};

} // namespace orvo::cli
