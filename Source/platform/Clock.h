#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace orvo
{

/** Time source for time-outs, echo windows and start-up timing. */
class Clock
{
public:
    virtual ~Clock() = default;
    /** Monotonic milliseconds with sub-millisecond resolution. */
    virtual double nowMs() const = 0;
    /** Wall-clock milliseconds since the epoch. */
    virtual std::int64_t wallClockMs() const = 0;
};

/** One-shot delayed calls on the message thread. Callers guard against stale calls with
    their own generation numbers; the scheduler only promises order by due time. */
class Scheduler
{
public:
    virtual ~Scheduler() = default;
    virtual void callAfter (int delayMs, std::function<void()> fn) = 0;
};

/** Virtual time for tests and benchmarks: a clock that only moves when told to, and a
    scheduler whose calls run as that time passes. */
class VirtualTime final : public Clock, public Scheduler
{
public:
    explicit VirtualTime (double startMs = 1000.0, std::int64_t wallStartMs = 1'800'000'000'000) : start (startMs), now (startMs), wallStart (wallStartMs) {}

    double nowMs() const override { return now; }
    std::int64_t wallClockMs() const override { return wallStart + (std::int64_t) (now - start); }

    void callAfter (int delayMs, std::function<void()> fn) override
    {
        queue.emplace (Key { now + (delayMs < 0 ? 0 : delayMs), sequence++ }, std::move (fn));
    }

    /** Moves time forward, running every call that falls due on the way, in due order. */
    void advance (double ms)
    {
        const double target = now + ms;
        while (! queue.empty() && queue.begin()->first.due <= target)
        {
            auto it = queue.begin();
            now = std::max (now, it->first.due);
            auto fn = std::move (it->second);
            queue.erase (it);
            fn();
        }
        now = target;
    }

    size_t pendingCalls() const { return queue.size(); }

private:
    struct Key
    {
        double due;
        std::uint64_t seq;
        bool operator< (const Key& o) const { return due < o.due || (due == o.due && seq < o.seq); }
    };

    double start = 1000.0;
    double now;
    std::int64_t wallStart;
    std::uint64_t sequence = 0;
    std::map<Key, std::function<void()>> queue;
};

} // namespace orvo
