#pragma once

#include <array>
#include <mutex>

namespace orvo
{

/** Keeps the instrument's answers to a Wedge preset send from undoing it. After a send, every
    effect NRPN (3603, 3609..3638) from the instrument is dropped until the general mark, and one
    that repeats the value last sent for it until the value mark. Written on the message thread,
    asked on the MIDI input thread, so everything is under one lock. */
class EffectSendGuard
{
public:
    static constexpr int generalWindowMs = 1200;
    static constexpr int valueWindowMs = 5000;

    /** NRPN 3603 and 3609..3638 are guarded; SEND and PAN are not. */
    static bool isGuarded (int nrpn) { return nrpn == 3603 || (nrpn >= 3609 && nrpn <= 3638); }

    void recordSent (int nrpn, int raw);
    /** Moves each mark to now + its window, unless it already lies later. */
    void open (double nowMs);
    bool drops (int nrpn, int value, double nowMs) const;

private:
    static int slotOf (int nrpn) { return nrpn == 3603 ? 0 : nrpn - 3608; }

    mutable std::mutex lock;
    double ignoreUntil = 0.0, matchUntil = 0.0;
    std::array<int, 31> lastSent{};
    std::array<bool, 31> sent{};
};

} // namespace orvo
