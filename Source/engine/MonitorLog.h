#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace orvo
{

/** The diagnostic log behind the MONITOR tool. It collects only while a MONITOR pane is
    open; other threads add lines through a small capped queue that the timer drains. */
class MonitorLog
{
public:
    static constexpr size_t maxPendingLines = 200;
    static constexpr size_t trimThreshold = 50000;
    static constexpr size_t trimKeep = 32000;
    static constexpr const char* discardNotice = "[older diagnostic log discarded]\n";

    /** Told about every change so a text view can mirror the log cheaply. */
    struct Listener
    {
        virtual ~Listener() = default;
        virtual void logAppended (const std::string& text) = 0;
        virtual void logReplaced (const std::string& wholeText) = 0;
    };

    void setListener (Listener* l) { listener = l; }

    /** Message thread. Dropped when empty or while no MONITOR pane is open. */
    void append (const std::string& text);
    /** Any thread. */
    void queueLine (std::string line);
    /** Message thread; the timer's drain step. */
    void drain();
    void clear();

    void setMonitorVisible (bool visible);
    bool isMonitorVisible() const { return monitorVisible.load(); }

    const std::string& text() const { return log; }
    /** Length in characters (code points). */
    size_t characterCount() const { return count; }
    size_t pendingLineCount() const;

    std::atomic<bool> midiInputMonitor { false };
    std::atomic<bool> midiOutputMonitor { false };
    std::atomic<bool> diagnosticHighlight { false };

private:
    void trim();

    std::atomic<bool> monitorVisible { false };
    std::string log;
    size_t count = 0;
    mutable std::mutex pendingLock;
    std::vector<std::string> pending;
    Listener* listener = nullptr;
};

/** Number of UTF-8 code points in a text. */
size_t utf8Length (const std::string& text);

} // namespace orvo
