#include "CliCommand.h"
#include "CliPorts.h"
#include "JsonOut.h"
#include "engine/InstrumentBackup.h"
#include "instrument/VirtualOrvo.h"
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
    "usage: orvo-cli backup (--virtual [--wire-rate] | --in NAME --out NAME) [--banks USER,PRESET1,PRESET2] "
    "--library DIR [--timeout SECONDS]\n";

std::optional<std::vector<int>> parseBanks (const std::string& text)
{
    std::vector<int> banks;
    for (const auto& token : juce::StringArray::fromTokens (juce::String (text), ",", ""))
    {
        const auto t = token.trim().toUpperCase();
        const int bank = t == "USER" ? 0 : t == "PRESET1" ? 1 : t == "PRESET2" ? 2 : -1;
        if (bank < 0)
            return std::nullopt;
        banks.push_back (bank);
    }
    if (banks.empty())
        return std::nullopt;
    return banks;
}

std::string findPort (const std::vector<MidiDeviceInfo>& ports, const std::string& name)
{
    for (const auto& p : ports)
        if (p.name == name || p.identifier == name)
            return p.identifier;
    return {};
}

/** A bar on a terminal, a line per bank otherwise. */
struct Progress
{
    std::ostream& err;
    bool terminal = ::isatty (2) != 0;
    std::string bank;

    void show (const std::string& label, int received)
    {
        if (terminal)
        {
            const int filled = received * 30 / 128;
            err << "\r" << label << " [" << std::string ((size_t)filled, '#') << std::string ((size_t)(30 - filled), '-')
                << "] " << received << " of 128" << std::flush;
        }
        else if (label != bank)
            err << "backup: reading " << label << "\n";
        bank = label;
    }
    void bankEnded (const InstrumentBackup::BankResult& r)
    {
        err << (terminal ? "\r" : "") << "backup: " << r.label << " " << r.received << " of 128 Programs in "
            << cli::jsonNumber (std::round (r.seconds * 10) / 10) << " s" << (terminal ? "          \n" : "\n");
    }
};

int run (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    cli::PortOptions ports;
    std::string libraryPath, banksText = "USER,PRESET1,PRESET2";
    double timeoutSeconds = 300.0;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const auto& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (ports.take (args, i))
            continue;
        if (a == "--library" && hasValue)
            libraryPath = args[++i];
        else if (a == "--banks" && hasValue)
            banksText = args[++i];
        else if (a == "--timeout" && hasValue)
        {
            timeoutSeconds = juce::String (args[++i]).getDoubleValue();
            if (! (timeoutSeconds > 0))
            {
                err << "backup: --timeout needs a number of seconds above 0.\n";
                return cli::exitUsage;
            }
        }
        else
        {
            err << usage;
            return cli::exitUsage;
        }
    }
    const auto banks = parseBanks (banksText);
    const bool virtualOrvo = ports.virtualOrvo, wireRate = ports.wireRate;
    const auto &in = ports.in, &outName = ports.out;
    if (libraryPath.empty() || ! ports.valid() || ! banks)
    {
        err << usage;
        return cli::exitUsage;
    }
    const auto library = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (libraryPath));
    if (! library.createDirectory())
    {
        err << "backup: cannot create the library folder " << library.getFullPathName() << ".\n";
        return cli::exitBadInput;
    }

    VirtualOrvo instrument;
    JuceMidiDevices hardware;
    VirtualOrvoMidiDevices devices (virtualOrvo ? nullptr : &hardware, instrument);
    const auto inputId = virtualOrvo ? std::string (VirtualOrvo::inputIdentifier) : findPort (devices.inputs(), in);
    const auto outputId = virtualOrvo ? std::string (VirtualOrvo::outputIdentifier) : findPort (devices.outputs(), outName);
    if (inputId.empty() || outputId.empty())
    {
        err << "backup: no MIDI " << (inputId.empty() ? "input named \"" + in : "output named \"" + outName)
            << "\". orvo-cli backup --virtual tries the built-in Virtual Orvo.\n";
        return cli::exitBadInput;
    }
    if (wireRate)
        instrument.setWireRate (true);

    JuceClock clock;
    PollingScheduler scheduler (clock);
    auto output = devices.openOutput (outputId);
    if (output == nullptr)
    {
        err << "backup: could not open the MIDI output " << outName << ".\n";
        return cli::exitBadInput;
    }
    InstrumentBackup backup (clock, scheduler, *output, { *banks, library, timeoutSeconds * 1000.0 });
    auto input = devices.openInput (inputId, [&backup] (const std::uint8_t* d, size_t n) { backup.handleIncoming (d, n); });
    if (input == nullptr)
    {
        err << "backup: could not open the MIDI input " << in << ".\n";
        return cli::exitBadInput;
    }

    Progress progress{ err };
    size_t reported = 0;
    backup.onProgress = [&progress] (const std::string& label, int received) { progress.show (label, received); };
    backup.start();
    for (;;)
    {
        const bool done = backup.step();
        for (; reported < backup.result().banks.size(); ++reported)
            progress.bankEnded (backup.result().banks[reported]);
        if (done)
            break;
        scheduler.runDue();
        std::this_thread::sleep_for (std::chrono::milliseconds (5));
    }
    input.reset();

    const auto& result = backup.result();
    if (result.incompleteBank)
    {
        err << "backup: " << backup.bankLabel (*result.incompleteBank) << " stayed incomplete ("
            << result.banks.back().received << " of 128 Programs) after " << cli::jsonNumber (timeoutSeconds)
            << " s. Check the MIDI connection and try again; the banks before it were saved.\n";
    }
    out << "{\"library\": " << cli::jsonString (library.getFullPathName().toStdString()) << ", \"banks\": [";
    bool first = true;
    for (const auto& b : result.banks)
    {
        if (! b.bankFile)
            continue;
        out << (first ? "" : ", ") << "{\"bank\": " << cli::jsonString (b.label) << ", \"received\": " << b.received
            << ", \"seconds\": " << cli::jsonNumber (std::round (b.seconds * 1000) / 1000) << ", \"bankFile\": "
            << cli::jsonString (b.bankFile->getFullPathName().toStdString()) << "}";
        first = false;
    }
    out << "], \"programs\": " << result.programs << "}\n";
    return result.incompleteBank ? cli::exitBadInput : cli::exitOk;
}

orvo::cli::CommandRegistration reg (
    "backup", usage + 7, &run,
    { "Read whole banks of an instrument into a library folder",
      "Reads every Program of each bank (USER, PRESET1 and PRESET2 unless --banks names fewer) from the instrument "
      "on the MIDI ports --in and --out (by name or identifier), or from the built-in Virtual Orvo with --virtual, "
      "and writes into the library folder --library what BANK SYNC writes: a Program document per slot and a Bank "
      "document per bank.\n\n"
      "Prints one JSON object: the library and, for each bank, the Programs received, the seconds it took and its "
      "Bank document. Progress goes to standard error. --wire-rate makes the Virtual Orvo answer at MIDI cable "
      "speed. A bank still incomplete after --timeout SECONDS (300 by default) ends the backup with status 1; the "
      "banks before it are kept.",
      { "--virtual", "--wire-rate", "--in", "--out", "--banks", "--library", "--timeout" } });
} // namespace
