#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

namespace orvo
{

/** The generator's one source of chance: the 48-bit linear congruential generator juce::Random uses,
    so a logged seed replays a generation exactly. Every primitive draws from it in the order called. */
class GeneratorRandom
{
public:
    explicit GeneratorRandom (std::int64_t seed, double experimentalAmount = 0.0)
        : state ((std::uint64_t)seed), e (std::clamp (experimentalAmount, 0.0, 1.0))
    {
    }

    double experimental() const { return e; }

    /** The next 32 bits: state = state x 0x5DEECE66D + 11 (mod 2^48), u = state >> 16. */
    std::uint32_t next()
    {
        state = (state * 0x5DEECE66DULL + 11ULL) & ((1ULL << 48) - 1);
        return (std::uint32_t) (state >> 16);
    }

    double uniform (double a, double b) { return next() * (1.0 / 4294967296.0) * (b - a) + a; }

    /** Both ends inclusive. */
    int integer (int a, int b)
    {
        const std::uint64_t span = (std::uint64_t)std::max<std::int64_t> ((std::int64_t)b - a + 1, 1);
        return (int)(a + (std::int64_t) ((span * next()) >> 32));
    }

    /** p in percent. A draw is taken even when the answer is certain, so later draws do not move. */
    bool chance (int p)
    {
        const auto roll = ((std::uint64_t)next() * 100) >> 32;
        return p >= 0 && (std::int64_t)roll < std::min (p, 100);
    }

    /** A chance that only exists as GEN RANGE leaves SAFE: never hits at e = 0. */
    bool experimentalChance (double p) { return chance ((int)std::lround (p * e)); }

    template <typename T> T weighted (const std::vector<std::pair<T, int>>& list)
    {
        return pick (list.begin(), list.end());
    }
    template <typename T> T weighted (std::initializer_list<std::pair<T, int>> list)
    {
        return pick (list.begin(), list.end());
    }

    double pulled (double a, double b, double target, double pull)
    {
        return uniform (a, b) * (1.0 - pull) + target * pull;
    }

    /** Uniform over a range that moves from the safe one to the experimental one as e grows. */
    double widened (double safeLo, double safeHi, double expLo, double expHi)
    {
        return uniform (lerp (safeLo, expLo, e), lerp (safeHi, expHi, e));
    }

    /** The safe value, moved toward a random one by e. */
    double drift (double safe, double a, double b) { return lerp (safe, uniform (a, b), e); }

    static double lerp (double a, double b, double t) { return (b - a) * t + a; }

private:
    /** Negative weights count as 0; below a total of 1 the first entry wins without a draw. */
    template <typename It> auto pick (It first, It last) -> decltype (first->first)
    {
        std::int64_t total = 0;
        for (auto it = first; it != last; ++it)
            total += std::max (it->second, 0);
        if (total < 1)
            return first->first;
        auto r = (std::int64_t) (((std::uint64_t)total * next()) >> 32);
        for (auto it = first; it != last; ++it)
        {
            const int w = std::max (it->second, 0);
            if (w > r)
                return it->first;
            r -= w;
        }
        return std::prev (last)->first;
    }

    std::uint64_t state;
    double e;
};

} // namespace orvo
