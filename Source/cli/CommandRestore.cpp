#include "CliCommand.h"
#include "CliPorts.h"
#include "JsonOut.h"
#include "engine/EditorSession.h"
#include "midi/JuceMidiDevices.h"
#include "platform/JuceTime.h"
#include "platform/PollingScheduler.h"

#include <chrono>
#include <ostream>
#include <thread>
#include <unistd.h>

namespace
{
using namespace orvo;

constexpr const char* usage =
    "usage: orvo-cli restore (--virtual [--wire-rate] | --in NAME --out NAME) BANK.orvob --bank USER|PRESET1|PRESET2 "
    "[--no-verify]\n";

int deviceNumber (const std::vector<MidiDeviceInfo>& devices, const std::string& name)
{
    for (size_t i = 0; i < devices.size(); ++i)
        if (devices[i].name == name || devices[i].identifier == name)
            return (int)i + 1;
    return 0;
}

// Sends a Bank document to the instrument the way LOAD BANK's transfer does, in a session of its own
// (its library is a temporary folder, so the player's library is never touched), then reads it back.
int run (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    cli::PortOptions ports;
    bool verify = true;
    std::string file, bankText;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const auto& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (ports.take (args, i))
            continue;
        if (a == "--no-verify")
            verify = false;
        else if (a == "--bank" && hasValue)
            bankText = args[++i];
        else if (! a.empty() && a[0] != '-' && file.empty())
            file = a;
        else
        {
            err << usage;
            return cli::exitUsage;
        }
    }
    const int bank = bankText == "USER" ? 0 : bankText == "PRESET1" ? 1 : bankText == "PRESET2" ? 2 : -1;
    const bool virtualOrvo = ports.virtualOrvo, wireRate = ports.wireRate;
    const auto &in = ports.in, &outName = ports.out;
    if (file.empty() || bank < 0 || ! ports.valid())
    {
        err << usage;
        return cli::exitUsage;
    }
    const auto bankFile = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (file));
    if (! bankFile.existsAsFile())
    {
        err << "restore: " << file << " does not exist.\n";
        return cli::exitBadInput;
    }

    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("orvo-restore", {});
    JuceClock clock;
    PollingScheduler scheduler (clock);
    ScriptedPrompts prompts;
    ScriptedFileDialogs dialogs;
    StringClipboard clipboard;
    JuceMidiDevices hardware;
    int result = cli::exitOk;
    {
        EditorSession session ({ clock, scheduler, prompts, dialogs, clipboard, virtualOrvo ? nullptr : &hardware,
                                 folder.getChildFile ("Settings") });
        session.finishStartup();
        session.engine().settings().verifyTransfers = verify;
        auto& midi = session.midi();
        prompts.answers = { 1 }; // the initial-sync question: NOT NOW
        if (virtualOrvo)
        {
            session.virtualOrvo().setWireRate (wireRate);
            midi.openVirtualOrvo();
        }
        else
        {
            midi.scan (false);
            midi.chooseInput (deviceNumber (midi.inputDevices(), in));
            midi.chooseOutput (deviceNumber (midi.outputDevices(), outName));
            midi.openInput();
            midi.openOutput();
        }
        if (! midi.isOutputOpen() || ! midi.isInputOpen())
        {
            err << "restore: could not open the MIDI " << (midi.isOutputOpen() ? "input \"" + in : "output \"" + outName)
                << "\". orvo-cli restore --virtual tries the built-in Virtual Orvo.\n";
            result = cli::exitBadInput;
        }
        else
        {
            // LOAD, then the target bank; a read-back that differs is not sent again here.
            prompts.answers = { 0, bank, 1 };
            prompts.shown.clear();
            session.librarian().bankFlows().loadBankFile (bankFile);
            auto& transfers = session.transfers();
            if (! transfers.isBankTransferRunning())
            {
                const auto why = prompts.shown.empty() ? std::string ("it is not an Orvo Editor Bank document")
                                                       : prompts.shown.back().message;
                err << "restore: nothing was sent: " << why << "\n";
                result = cli::exitBadInput;
            }
            else
            {
                const bool terminal = ::isatty (2) != 0;
                std::string shown;
                const double start = clock.nowMs();
                for (;;)
                {
                    std::this_thread::sleep_for (std::chrono::milliseconds (10));
                    scheduler.runDue();
                    session.tick();
                    const auto& o = transfers.overlay();
                    if (o.visible && o.text != shown)
                    {
                        shown = o.text;
                        if (terminal)
                            err << "\r" << shown << "          " << std::flush;
                        else if (o.text.find ("Sending Program") == std::string::npos || transfers.lastBank().sent % 16 == 0)
                            err << "restore: " << shown << "\n";
                    }
                    const auto& r = transfers.lastBank();
                    const bool done = r.stopped || (r.activated && (! verify || r.differing.has_value()));
                    if (done || clock.nowMs() - start > 30.0 * 60.0 * 1000.0)
                        break;
                }
                const auto& r = transfers.lastBank();
                if (terminal)
                    err << "\n";
                std::string differing;
                if (r.differing)
                    for (int slot : *r.differing)
                        differing += (differing.empty() ? "" : ", ") + std::to_string (slot);
                out << "{\"file\": " << cli::jsonString (bankFile.getFullPathName().toStdString()) << ", \"bank\": "
                    << cli::jsonString (bankText) << ", \"sent\": " << r.sent << ", \"stopped\": "
                    << (r.stopped ? "true" : "false") << ", \"verified\": "
                    << (! r.differing ? "null" : r.differing->empty() ? "true" : "false") << ", \"differing\": ["
                    << differing << "]}\n";
                if (r.stopped || (r.differing && ! r.differing->empty()) || (verify && ! r.differing))
                {
                    err << "restore: " << (r.stopped ? "the transfer stopped after " + std::to_string (r.sent) + " Programs"
                                                     : "the Orvo did not read back as sent: slots " + differing)
                        << ". Check the MIDI connection and SysEx receive on the Orvo, then run it again.\n";
                    result = cli::exitBadInput;
                }
            }
        }
        midi.closeAll();
    }
    folder.deleteRecursively();
    return result;
}

orvo::cli::CommandRegistration reg (
    "restore", usage + 7, &run,
    { "Send a Bank document to the instrument and read it back",
      "Sends the 128 Programs of BANK.orvob into the instrument's bank --bank (USER, PRESET1 or PRESET2) on the MIDI "
      "ports --in and --out (by name or identifier), or into the built-in Virtual Orvo with --virtual, at the "
      "editor's pace, then reads the bank back and compares every Program with what was sent (--no-verify leaves "
      "that out).\n\n"
      "Prints one JSON object: the file, the bank, the Programs sent, whether the transfer stopped, whether the bank "
      "read back as sent and the slots that differ. A transfer that stops or does not read back as sent ends with "
      "status 1. --wire-rate makes the Virtual Orvo answer at MIDI cable speed.",
      { "--virtual", "--wire-rate", "--in", "--out", "--bank", "--no-verify" } });
} // namespace
