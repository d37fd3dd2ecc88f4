#pragma once

#include "library/MixDocument.h"
#include "midi/SysExProtocol.h"
#include "platform/Clock.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace orvo
{


/** Where the fields of one Mix channel lie and which MIDI-edit parameter changes each. */
namespace mixlayout
{
constexpr int numChannels = 16;
constexpr int recordsOffset = 32;
constexpr int recordLength = 48;

constexpr int useKeysOffset = 1; // bit 7
constexpr int enableOffset = 8;
constexpr int programBankOffset = 9;
constexpr int programNumberOffset = 10;
constexpr int lowKeyOffset = 11;
constexpr int highKeyOffset = 12;
constexpr int outputOffset = 13;
constexpr int midiChannelOffset = 16;

constexpr int parameterKbdHigh = 7;
constexpr int parameterKbdLow = 8;
constexpr int parameterOutput = 14;
constexpr int parameterMidiChannel = 18;
constexpr int parameterControlPage2 = 21;
constexpr int parameterUseKeys = 29;
constexpr int parameterEnable = 30;

/** Byte offset of channel `channel`'s record inside the payload. */
constexpr int recordOffset (int channel)
{
    return recordsOffset + recordLength * channel;
}
} // namespace mixlayout

/** One decoded channel record, values as the bytes hold them (not clamped). */
struct MixChannelSettings
{
    int channel = 0; // 0..15
    int programBank = 0;
    int programNumber = 0;
    int lowKey = 0;
    int highKey = 127;
    int output = 1;
    int midiChannel = 0; // 0..15, shown as 1..16
    bool useKeys = false;
    bool enable = false;
};

/** True for exactly 1,024 bytes that start with the Mix signature. */
bool isMixPayload (const MixPayload& payload);

/** The record of `channel` (0..15) of a payload already checked with isMixPayload. */
MixChannelSettings decodeMixChannel (const MixPayload& payload, int channel);

/** "C -1" for note 0, "C4" for note 60; notes outside 0..127 are clamped. */
std::string mixKeyCaption (int note);

/** "USER", "PRESET1", "PRESET2", "CARD", or "BANK " + n for any other bank byte. */
std::string mixBankCaption (int bank);

/** Bank caption, a space and the three-digit Program number; for banks 0..2 with a known slot
    name, followed by " — " and the name. */
std::string mixProgramLabel (int bank, int program, const std::string& slotName);

/** One line of the MIX SETTINGS table, ready for the view: ids are the combo items to select. */
struct MixPanelRow
{
    int channel = 0;            // 0..15
    std::string channelCaption; // "1".."16"
    std::string programLabel;
    int lowKeyId = 1;      // note + 1
    int highKeyId = 128;   // note + 1
    int midiChannelId = 1; // 1..16
    int outputId = 2;      // 1 OFF, 2 MAIN, 3 AUX
    bool useKeys = false;
    bool enable = false;
};

/** What the MIX SETTINGS overlay shows. */
struct MixPanelState
{
    std::string title = "MIX SETTINGS";
    std::string status;
    std::string hint = "Open Mix Settings to read the current Orvo Mix.";
    bool holdingData = false; // false: the rows read "WAITING FOR MIX DATA"
    std::array<MixPanelRow, mixlayout::numChannels> rows;
    int shiftPage = 0; // 0: channels 1-8, 1: channels 9-16
};

/** The current Mix: reading it from the instrument, decoding and caching its payload, the panel's
    state, and single channel changes sent as MIDI-edit messages. Runs on the message thread, apart
    from `takeMixReadPending` and `mixDumpArrived`, which the MIDI input thread calls. */
class MixSettings
{
public:
    static constexpr int readTimeoutMs = 5000;
    static constexpr int useKeysStepMs = 120;
    static constexpr int rereadAfterSwitchMs = 350;
    static constexpr int rowsShown = 8;

    /** What this class needs from the editor; every member must be set. */
    struct Link
    {
        std::function<bool()> hasOutput;
        std::function<void (const ByteVector&)> sendSysEx;
        std::function<void (const std::string&)> log;
        /** The selection lives with the Program selector. */
        std::function<int()> currentBank;
        std::function<int()> currentSlot;
        std::function<std::string (int bank, int slot)> slotName;
    };

    MixSettings (Scheduler& scheduler, Link link);
    ~MixSettings();

    //==== reading (message thread) ====
    /** Requests the Mix edit buffer. `showInPanel` is true when the panel asked for it. */
    void readCurrentMix (bool showInPanel);
    bool isReadPending() const { return readPending.load(); }

    /** Told once per read end: the dump was decoded (true), or it failed, timed out or could not be
        requested (false). A pending Save Mix continues from here. */
    std::function<void (bool gotPayload)> onReadEnded;

    //==== MIDI input thread ====
    /** True once per pending read, clearing the mark. */
    bool takeMixReadPending() { return readPending.exchange (false); }
    /** The dump that answered a read (empty when it did not unpack); queued for `drain`. */
    void mixDumpArrived (const MixPayload& payload);

    //==== message thread ====
    /** The timer's step: hands each queued dump to onMixDump. */
    void drain();
    /** A dump, or a failure (empty payload), for the read that was pending. */
    void onMixDump (const MixPayload& payload);
    /** Checks, decodes, caches for (bank, slot) and shows under `title`. False, changing nothing,
        for anything but a Mix payload in a Mix bank (3 or 4) and slot 0..127. */
    bool decodeMixPayload (const MixPayload& payload, int bank, int slot, const std::string& title);
    /** One MIDI-edit to a Mix channel; on success the cached payload follows. False when no output is open. */
    bool sendMixChannelSetting (const std::string& caption, int channel, int parameter, int value);

    const CachedMixPayload& cachedPayload() const { return cache; }

    //==== panel operations (message thread) ====
    /** "MIX SETTINGS": open the panel and read the Mix into it. */
    void openPanel() { readCurrentMix (true); }
    void selectLowKey (int channel, int itemId);
    void selectHighKey (int channel, int itemId);
    void selectMidiChannel (int channel, int itemId);
    void selectOutput (int channel, int itemId);
    void setUseKeys (int channel, bool on);
    void setEnable (int channel, bool on);
    void toggleShift();
    static std::string shiftCaption (int page) { return page == 0 ? "SHIFT 1" : "SHIFT 9"; }

    const MixPanelState& panel() const { return state; }
    /** Goes up whenever the panel state changed, so a view can skip unchanged ticks. */
    std::uint64_t changeCount() const { return changes; }

private:
    void endRead (bool gotPayload);
    void clearRows();
    void setStatus (const std::string& text);
    void changed() { ++changes; }
    void log (const std::string& line) const;
    bool outputOpen() const { return link.hasOutput && link.hasOutput(); }
    int currentBank() const { return link.currentBank ? link.currentBank() : -1; }
    int currentSlot() const { return link.currentSlot ? link.currentSlot() : -1; }
    std::string slotName (int bank, int slot) const
    {
        return link.slotName ? link.slotName (bank, slot) : std::string();
    }
    void selectFromCombo (const char* caption, int channel, int parameter, int itemId, int maxValue);
    void updateCachedByte (int channel, int parameter, int value);
    void updateRow (int channel, int parameter, int value);
    void scheduleReread();
    /** Runs `fn` later on the message thread unless this object is gone by then. */
    void later (int delayMs, std::function<void()> fn);

    Scheduler& scheduler;
    Link link;

    std::atomic<bool> readPending{ false };
    std::uint32_t readSequence = 0;
    bool readShowsInPanel = false;
    std::uint32_t switchGeneration = 0;

    std::mutex arrivedLock;
    std::vector<MixPayload> arrived;

    CachedMixPayload cache;
    MixPanelState state;
    std::uint64_t changes = 1;

    std::shared_ptr<bool> alive = std::make_shared<bool> (true);
};

} // namespace orvo
