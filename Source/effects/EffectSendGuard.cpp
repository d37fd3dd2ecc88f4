#include "effects/EffectSendGuard.h"

#include <algorithm>

namespace orvo
{

void EffectSendGuard::recordSent (int nrpn, int raw)
{
    if (!isGuarded (nrpn))
        return;
    std::lock_guard<std::mutex> l (lock);
    lastSent[(size_t)slotOf (nrpn)] = raw;
    sent[(size_t)slotOf (nrpn)] = true;
}

void EffectSendGuard::open (double nowMs)
{
    std::lock_guard<std::mutex> l (lock);
    ignoreUntil = std::max (ignoreUntil, nowMs + generalWindowMs);
    matchUntil = std::max (matchUntil, nowMs + valueWindowMs);
}

bool EffectSendGuard::drops (int nrpn, int value, double nowMs) const
{
    if (!isGuarded (nrpn))
        return false;
    std::lock_guard<std::mutex> l (lock);
    if (nowMs < ignoreUntil)
        return true;
    const auto s = (size_t)slotOf (nrpn);
    return nowMs < matchUntil && sent[s] && lastSent[s] == value;
}

} // namespace orvo
