#pragma once

#include "Clock.h"

#include <map>

namespace orvo
{

/** A scheduler for programs without a message loop (command-line tools, benchmarks): calls wait on a
    real clock and run when the owner's loop calls `runDue`, on that loop's thread. */
class PollingScheduler final : public Scheduler
{
public:
    explicit PollingScheduler (const Clock& c) : clock (c) {}

    void callAfter (int delayMs, std::function<void()> fn) override
    {
        queue.emplace (Key{ clock.nowMs() + (delayMs < 0 ? 0 : delayMs), sequence++ }, std::move (fn));
    }

    /** Runs every call whose time has come, in due order. */
    void runDue()
    {
        const double now = clock.nowMs();
        while (! queue.empty() && queue.begin()->first.due <= now)
        {
            auto fn = std::move (queue.begin()->second);
            queue.erase (queue.begin());
            fn();
        }
    }

private:
    struct Key
    {
        double due;
        std::uint64_t seq;
        bool operator< (const Key& o) const { return due < o.due || (due == o.due && seq < o.seq); }
    };
    const Clock& clock;
    std::uint64_t sequence = 0;
    std::map<Key, std::function<void()>> queue;
};

} // namespace orvo
