#include "ProgramSelector.h"

#include "model/TextMatching.h"

#include <algorithm>
#include <cstdio>

namespace orvo
{
namespace
{
int channelOrOne (const std::function<int()>& f)
{
    const int c = f != nullptr ? f() : 1;
    return c >= 1 && c <= 16 ? c : 1;
}
} // namespace

ProgramSelector::ProgramSelector (EditorEngine& e, Settings s)
    : engine (e), clock (e.services().clock), settings (std::move (s))
{
}

void ProgramSelector::whenAllowed (std::function<void()> change)
{
    if (confirmChange != nullptr)
        confirmChange (std::move (change));
    else
        change();
}

void ProgramSelector::stepBank (int delta)
{
    const int b = ((bank() + delta) % numBanks + numBanks) % numBanks;
    whenAllowed (
        [this, b]
        {
            engine.setSelection (b, program());
            engine.log().append ("Bank button selected " + bankText() + ".\n");
            sendSelection ("bank button");
            changed();
        });
}

void ProgramSelector::stepProgram (int delta)
{
    const int p = ((program() + delta) % 128 + 128) % 128;
    whenAllowed (
        [this, p]
        {
            engine.setSelection (bank(), p);
            sendSelection ("program browser");
            changed();
        });
}

void ProgramSelector::select (int b, int p, const std::string& source)
{
    whenAllowed (
        [this, b, p, source]
        {
            engine.setSelection (b, p);
            sendSelection (source);
            changed();
        });
}

void ProgramSelector::follow (int b, int p)
{
    if (b < 0 || b >= numBanks || p < 0 || p > 127)
        return;
    engine.setSelection (b, p);
    modeKnown = true;
    changed();
}

void ProgramSelector::sendSelection (const std::string& source)
{
    const int b = bank();
    const bool programBank = b < 3;
    const int channel = channelOrOne (programBank ? settings.programChannel : settings.mixChannel);
    const int bankByte = programBank ? b : b - 3;
    const int p = std::clamp (program(), 0, 127);

    appGuardActive = true;
    appBank = b;
    appProgram = p;
    appGuardExpiryMs = clock.nowMs() + echoGuardMs;

    if (!engine.hasOutput())
    {
        engine.log().append ("No MIDI output is open. Cannot send Orvo bank/program selection from " + source + ".\n");
        return;
    }
    const auto status = [channel] (int base) { return (std::uint8_t) (base + channel - 1); };
    const auto cc = [&] (int controller, int value) {
        engine.sendSysEx ({ status (0xB0), (std::uint8_t)controller, (std::uint8_t)std::clamp (value, 0, 127) });
    };
    engine.sendSysEx ({ 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x0D, (std::uint8_t) (programBank ? 0 : 1), 0xF7 });
    const int type = engine.bankSelectType.load();
    if (type == 1)
        cc (0, bankByte);
    else if (type == 2)
        cc (32, bankByte);
    else
    {
        cc (0, 0);
        cc (32, bankByte);
    }
    engine.sendSysEx ({ status (0xC0), (std::uint8_t)p });
    modeKnown = true;
    engine.log().append (std::string ("Sent Orvo ") + (programBank ? "Program" : "Mix") + " select from " + source +
                         ": ch=" + std::to_string (channel) + " bank=" + std::to_string (bankByte) + " program=" +
                         text::threeDigits (p) + " bank-select-type=" + std::to_string (std::max (type, 0)) + ".\n");
}

bool ProgramSelector::guardInForce() const
{
    return appGuardActive && clock.nowMs() < appGuardExpiryMs;
}

std::string ProgramSelector::programNumberText() const
{
    return text::threeDigits (program());
}

std::string ProgramSelector::bankText() const
{
    return settings.bankDisplayName != nullptr ? settings.bankDisplayName (bank()) : std::to_string (bank());
}

std::string ProgramSelector::patchNameText (bool diagnosticMode) const
{
    if (!diagnosticMode && !modeKnown)
        return "MODE UNKNOWN - PLEASE SYNC";
    return settings.slotName != nullptr ? settings.slotName (bank(), program()) : std::string();
}

void ProgramSelector::changed()
{
    // Values the instrument sends while it loads the new Program are not the player's edits.
    engine.setSelectionSettle (EditorEngine::selectionSettleTicks);
    if (onSelectionChanged != nullptr)
        onSelectionChanged (bank(), program());
}

} // namespace orvo
