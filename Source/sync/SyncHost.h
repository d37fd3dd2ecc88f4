#pragma once

#include "midi/SysExProtocol.h"
#include "model/ParameterCatalogue.h"
#include "platform/Clock.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <string>

namespace orvo
{

/** What the sync engine needs of the editor it reads the instrument for. The editor implements it;
    the sync engine never sees more of the editor than this. */
class SyncHost
{
public:
    virtual ~SyncHost() = default;

    virtual Clock& clock() = 0;
    virtual Scheduler& scheduler() = 0;

    virtual bool hasOutput() const = 0;
    virtual void sendSysEx (const std::vector<std::uint8_t>& message) = 0;

    /** The SysEx path of incoming MIDI: `handler` is asked for every complete message (MIDI thread). */
    virtual void addSysExHandler (std::function<bool (const std::uint8_t*, size_t)> handler) = 0;
    /** Lets the incoming-MIDI rules ask whether a sync is running (MIDI thread). */
    virtual void setSyncRunningQuery (std::function<bool()> query) = 0;
    /** The bank-select type the Global dump reports (MIDI thread). */
    virtual void setBankSelectType (int type) = 0;

    /** A decoded Program: every defined row takes its value as it is, nothing is sent back. */
    virtual void applyProgramValues (const std::array<int, ParameterCatalogue::numRows>& raw,
                                     const std::bitset<ParameterCatalogue::numRows>& defined) = 0;

    /** A line for the log from the message thread, and from any other thread. */
    virtual void logLine (const std::string& line) = 0;
    virtual void queueLogLine (const std::string& line) = 0;
    /** Whether the detailed MIDI lines are collected at all, and whether MIDI IN is monitored. */
    virtual bool diagnosticLogOn() const = 0;
    virtual bool midiInputMonitorOn() const = 0;
};

} // namespace orvo
