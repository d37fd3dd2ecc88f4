#include "MixSettings.h"

#include "model/TextMatching.h"


#include <algorithm>
#include <cstdio>

namespace orvo
{

namespace
{
constexpr const char* emDash = "\xe2\x80\x94";
constexpr const char* openQuote = "\xe2\x80\x9c";
constexpr const char* closeQuote = "\xe2\x80\x9d";

} // namespace

//==============================================================================
bool isMixPayload (const MixPayload& payload)
{
    return payload.size() == sysex::mixUnpackedLength && hasMixSignature (payload);
}

MixChannelSettings decodeMixChannel (const MixPayload& payload, int channel)
{
    using namespace mixlayout;
    MixChannelSettings s;
    s.channel = std::clamp (channel, 0, numChannels - 1);
    const auto* r = payload.data() + recordOffset (s.channel);
    s.useKeys = (r[useKeysOffset] & 0x80) != 0;
    s.enable = r[enableOffset] != 0;
    s.programBank = r[programBankOffset];
    s.programNumber = r[programNumberOffset];
    s.lowKey = r[lowKeyOffset];
    s.highKey = r[highKeyOffset];
    s.output = r[outputOffset];
    s.midiChannel = r[midiChannelOffset];
    return s;
}

std::string mixKeyCaption (int note)
{
    static const char* const names[] = { "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B" };
    note = std::clamp (note, 0, 127);
    const int octave = note / 12 - 1;
    return std::string (names[note % 12]) + (octave < 0 ? " " : "") + std::to_string (octave);
}

std::string mixBankCaption (int bank)
{
    switch (bank)
    {
        case 0:
            return "USER";
        case 1:
            return "PRESET1";
        case 2:
            return "PRESET2";
        case 3:
            return "CARD";
        default:
            return "BANK " + std::to_string (bank);
    }
}

std::string mixProgramLabel (int bank, int program, const std::string& slotName)
{
    auto label = mixBankCaption (bank) + " " + text::threeDigits (program);
    if (bank >= 0 && bank <= 2 && !slotName.empty())
        label += std::string (" ") + emDash + " " + slotName;
    return label;
}

//==============================================================================
MixSettings::MixSettings (Scheduler& s, Link l) : scheduler (s), link (std::move (l))
{
    clearRows();
}

MixSettings::~MixSettings()
{
    *alive = false;
}

void MixSettings::log (const std::string& line) const
{
    if (link.log)
        link.log (line);
}

void MixSettings::later (int delayMs, std::function<void()> fn)
{
    std::weak_ptr<bool> token = alive;
    scheduler.callAfter (delayMs,
                         [token, f = std::move (fn)]
                         {
                             if (auto a = token.lock(); a && *a)
                                 f();
                         });
}

void MixSettings::setStatus (const std::string& text)
{
    if (state.status != text)
    {
        state.status = text;
        changed();
    }
}

void MixSettings::clearRows()
{
    for (int n = 0; n < mixlayout::numChannels; ++n)
    {
        auto& row = state.rows[(size_t)n];
        row = MixPanelRow{};
        row.channel = n;
        row.channelCaption = std::to_string (n + 1);
    }
    state.holdingData = false;
    state.title = "MIX SETTINGS";
    changed();
}

//==============================================================================
void MixSettings::readCurrentMix (bool showInPanel)
{
    if (showInPanel)
    {
        clearRows();
        setStatus ("READING CURRENT MIX FROM ORVO...");
    }

    if (!outputOpen())
    {
        if (showInPanel)
            setStatus ("NO MIDI OUTPUT IS OPEN. SELECT THE ORVO OUTPUT AND TRY AGAIN.");
        log ("Mix Settings: no MIDI output is open, so the current Mix could not be read.\n");
        endRead (false);
        return;
    }

    // The mark goes up before the request leaves: the answer may arrive on the MIDI thread at once.
    const auto sequence = ++readSequence;
    readShowsInPanel = showInPanel;
    readPending.store (true);
    link.sendSysEx (buildMixEditBufferRequest());
    log ("Mix Settings: requested the current Orvo Mix edit buffer.\n");

    later (readTimeoutMs,
           [this, sequence, showInPanel]
           {
               // A newer read owns the mark; and once the MIDI thread took it, the dump ends this read.
               if (sequence != readSequence || !readPending.exchange (false))
                   return;
               if (showInPanel)
                   setStatus ("TIMED OUT WAITING FOR THE ORVO MIX RESPONSE.");
               log (std::string ("Mix Settings: timed out waiting for the current Orvo Mix edit buffer") +
                    (showInPanel ? ".\n" : " after a live switch edit.\n"));
               endRead (false);
           });
}

void MixSettings::endRead (bool gotPayload)
{
    if (onReadEnded)
        onReadEnded (gotPayload);
}

void MixSettings::mixDumpArrived (const MixPayload& payload)
{
    std::lock_guard<std::mutex> lock (arrivedLock);
    arrived.push_back (payload);
}

void MixSettings::drain()
{
    std::vector<MixPayload> taken;
    {
        std::lock_guard<std::mutex> lock (arrivedLock);
        taken.swap (arrived);
    }
    for (const auto& payload : taken)
        onMixDump (payload);
}

void MixSettings::onMixDump (const MixPayload& payload)
{
    const int bank = currentBank();
    const int slot = currentSlot();
    bool decoded = false;
    if (isMixPayload (payload))
    {
        auto title = std::string ("CURRENT MIX");
        if (const auto name = slotName (bank, slot); !name.empty())
            title += std::string (" ") + openQuote + name + closeQuote;
        title += " LOADED";
        decoded = decodeMixPayload (payload, bank, slot, title);
    }

    if (decoded)
        log ("Mix Settings: read and cached all 16 channels from the current Orvo Mix.\n");
    else
    {
        setStatus ("THE ORVO MIX RESPONSE COULD NOT BE READ.");
        log ("Mix Settings: received an Orvo Mix edit buffer, but all 16 channels could not be decoded.\n");
    }
    endRead (decoded);
}

bool MixSettings::decodeMixPayload (const MixPayload& payload, int bank, int slot, const std::string& title)
{
    if (!isMixPayload (payload) || (bank != 3 && bank != 4) || slot < 0 || slot > 127)
        return false;

    std::array<MixChannelSettings, mixlayout::numChannels> channels;
    for (int n = 0; n < mixlayout::numChannels; ++n)
        channels[(size_t)n] = decodeMixChannel (payload, n);

    cache.payload = payload;
    cache.bank = bank;
    cache.slot = slot;

    for (const auto& c : channels)
    {
        auto& row = state.rows[(size_t)c.channel];
        row.channel = c.channel;
        row.channelCaption = std::to_string (c.channel + 1);
        const bool named = c.programBank <= 2 && c.programNumber <= 127;
        const auto name = named ? slotName (c.programBank, c.programNumber) : std::string();
        row.programLabel = mixProgramLabel (c.programBank, c.programNumber, name);
        row.lowKeyId = std::clamp (c.lowKey, 0, 127) + 1;
        row.highKeyId = std::clamp (c.highKey, 0, 127) + 1;
        row.midiChannelId = std::clamp (c.midiChannel, 0, 15) + 1;
        row.outputId = std::clamp (c.output, 0, 2) + 1;
        row.useKeys = c.useKeys;
        row.enable = c.enable;
    }
    state.title = title;
    state.status.clear();
    state.holdingData = true;
    changed();
    return true;
}

//==============================================================================
bool MixSettings::sendMixChannelSetting (const std::string& caption, int channel, int parameter, int value)
{
    if (!outputOpen())
    {
        log ("Mix Settings: no MIDI output is open, so " + caption + " was not sent.\n");
        return false;
    }
    channel = std::clamp (channel, 0, 15);
    value = std::clamp (value, -65536, 65535);
    link.sendSysEx (buildMidiEditMessage (sysex::midiEditTargetMixChannel, parameter, channel, value));
    log ("Mix Settings: sent " + caption + "=" + std::to_string (value) + " to Mix channel " +
         std::to_string (channel + 1) + ".\n");
    updateCachedByte (channel, parameter, value);
    updateRow (channel, parameter, value);
    return true;
}

void MixSettings::updateCachedByte (int channel, int parameter, int value)
{
    using namespace mixlayout;
    if (!cache.isValidFor (currentBank(), currentSlot()) || channel >= numChannels)
        return;
    auto* r = cache.payload.data() + recordOffset (channel);
    const auto byte = (std::uint8_t)std::clamp (value, 0, 255);
    switch (parameter)
    {
        case parameterKbdHigh:
            r[highKeyOffset] = byte;
            break;
        case parameterKbdLow:
            r[lowKeyOffset] = byte;
            break;
        case parameterOutput:
            r[outputOffset] = byte;
            break;
        case parameterMidiChannel:
            r[midiChannelOffset] = byte;
            break;
        case parameterUseKeys:
            r[useKeysOffset] = (std::uint8_t) ((r[useKeysOffset] & 0x7F) | (byte != 0 ? 0x80 : 0));
            break;
        case parameterEnable:
            r[enableOffset] = byte != 0 ? 1 : 0;
            break;
        default:
            break; // page changes are not stored
    }
}

void MixSettings::updateRow (int channel, int parameter, int value)
{
    // The row follows what was sent, so a later refresh of the view does not put the old choice back.
    using namespace mixlayout;
    auto& row = state.rows[(size_t)channel];
    switch (parameter)
    {
        case parameterKbdHigh:
            row.highKeyId = std::clamp (value, 0, 127) + 1;
            break;
        case parameterKbdLow:
            row.lowKeyId = std::clamp (value, 0, 127) + 1;
            break;
        case parameterOutput:
            row.outputId = std::clamp (value, 0, 2) + 1;
            break;
        case parameterMidiChannel:
            row.midiChannelId = std::clamp (value, 0, 15) + 1;
            break;
        case parameterUseKeys:
            row.useKeys = value != 0;
            break;
        case parameterEnable:
            row.enable = value != 0;
            break;
        default:
            return;
    }
    changed();
}

//==============================================================================
void MixSettings::selectFromCombo (const char* caption, int channel, int parameter, int itemId, int maxValue)
{
    if (itemId < 1 || itemId > maxValue + 1 || channel < 0 || channel >= mixlayout::numChannels)
        return;
    if (!sendMixChannelSetting (caption, channel, parameter, itemId - 1))
        changed(); // the view puts the combo back to what the instrument holds
}

void MixSettings::selectLowKey (int channel, int itemId)
{
    selectFromCombo ("KBD LOW", channel, mixlayout::parameterKbdLow, itemId, 127);
}

void MixSettings::selectHighKey (int channel, int itemId)
{
    selectFromCombo ("KBD HIGH", channel, mixlayout::parameterKbdHigh, itemId, 127);
}

void MixSettings::selectMidiChannel (int channel, int itemId)
{
    selectFromCombo ("MIDI CHANNEL", channel, mixlayout::parameterMidiChannel, itemId, 15);
}

void MixSettings::selectOutput (int channel, int itemId)
{
    selectFromCombo ("OUTPUT", channel, mixlayout::parameterOutput, itemId, 2);
}

void MixSettings::setEnable (int channel, bool on)
{
    if (channel < 0 || channel >= mixlayout::numChannels)
        return;
    if (sendMixChannelSetting ("ENABLE", channel, mixlayout::parameterEnable, on ? 1 : 0))
        scheduleReread();
}

void MixSettings::setUseKeys (int channel, bool on)
{
    if (channel < 0 || channel >= mixlayout::numChannels)
        return;
    // The instrument takes the key switch only once its second control page is selected.
    if (!sendMixChannelSetting ("CNTRL PAGE 2", channel, mixlayout::parameterControlPage2, 1))
        return;
    later (useKeysStepMs,
           [this, channel, on]
           {
               if (sendMixChannelSetting ("USE KEYS", channel, mixlayout::parameterUseKeys, on ? 1 : 0))
                   scheduleReread();
           });
}

void MixSettings::scheduleReread()
{
    // Several switches in a row need only one read, after the last of them.
    const auto generation = ++switchGeneration;
    later (rereadAfterSwitchMs,
           [this, generation]
           {
               if (generation == switchGeneration)
                   readCurrentMix (false);
           });
}

void MixSettings::toggleShift()
{
    state.shiftPage = state.shiftPage == 0 ? 1 : 0;
    changed();
}

} // namespace orvo
