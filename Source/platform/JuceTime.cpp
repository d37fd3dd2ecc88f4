#include "JuceTime.h"

#include <juce_events/juce_events.h>

namespace orvo
{

double JuceClock::nowMs() const { return juce::Time::getMillisecondCounterHiRes(); }

std::int64_t JuceClock::wallClockMs() const { return juce::Time::currentTimeMillis(); }

JuceScheduler::JuceScheduler() : alive (std::make_shared<bool> (true)) {}

JuceScheduler::~JuceScheduler() { *alive = false; }

void JuceScheduler::callAfter (int delayMs, std::function<void()> fn)
{
    std::weak_ptr<bool> weak = alive;
    juce::Timer::callAfterDelay (std::max (0, delayMs), [weak, fn = std::move (fn)] {
        if (auto flag = weak.lock(); flag && *flag)
            fn();
    });
}

} // namespace orvo
