#pragma once

#include "Clock.h"

namespace orvo
{

/** The product clock: JUCE's high-resolution millisecond counter and the system time. */
class JuceClock final : public Clock
{
public:
    double nowMs() const override;
    std::int64_t wallClockMs() const override;
};

/** The product scheduler: JUCE's call-after-delay on the message thread. Calls still
    pending when the scheduler is destroyed are dropped instead of reaching a dead owner. */
class JuceScheduler final : public Scheduler
{
public:
    JuceScheduler();
    ~JuceScheduler() override;
    void callAfter (int delayMs, std::function<void()> fn) override;

private:
    std::shared_ptr<bool> alive;
};

} // namespace orvo
