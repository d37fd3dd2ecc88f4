#include "CliCommand.h"
#include "JsonOut.h"
#include "engine/HeadlessEditor.h"
#include "library/AtomicFile.h"
#include "tools/ProgramGenerator.h"

#include <ostream>

namespace
{
using namespace orvo;

constexpr const char* usage = "usage: orvo-cli generate --seed N [--range E] [--voice either|mono|poly] "
                              "[--analog-dist] [--digital-fx] [--out OUT.syx]\n";

bool parseSeed (const std::string& text, std::int64_t& seed)
{
    if (text.empty())
        return false;
    size_t used = 0;
    try
    {
        seed = std::stoll (text, &used, 10);
    }
    catch (...)
    {
        return false;
    }
    return used == text.size();
}

bool parseRange (const std::string& text, double& range)
{
    size_t used = 0;
    try
    {
        range = std::stod (text, &used);
    }
    catch (...)
    {
        return false;
    }
    return used == text.size() && range >= 0.0 && range <= 1.0;
}

std::string toJson (const GeneratedProgram& p)
{
    std::string s = "{\"seed\": " + std::to_string (p.seed) + ", \"recipeId\": " + cli::jsonString (p.recipeId) +
                    ", \"experimentalAmount\": " + cli::jsonNumber (p.experimentalAmount) + ", \"guardrailNotes\": [";
    for (size_t i = 0; i < p.guardrailNotes.size(); ++i)
        s += (i ? ", " : "") + cli::jsonString (p.guardrailNotes[i]);
    s += "], \"parameters\": {";
    bool first = true;
    for (const auto& e : p.parameterEdits)
        if (e.row >= 0)
        {
            s += (first ? "" : ", ") + cli::jsonString (e.parameterId) + ": " + std::to_string (e.raw);
            first = false;
        }
    s += "}, \"interface\": [";
    for (size_t i = 0; i < p.interfaceEdits.size(); ++i)
    {
        const auto& e = p.interfaceEdits[i];
        s += std::string (i ? ", " : "") + "{\"label\": " + cli::jsonString (e.label) +
             ", \"nrpn\": " + std::to_string (e.nrpn) + ", \"raw\": " + std::to_string (e.raw) + "}";
    }
    return s + "]}";
}

/** The Program as the instrument holds it after the generator's transfer: the Virtual Orvo, in
    virtual time, receives every NRPN and answers with its edit buffer. */
ByteVector transferredEditBuffer (std::int64_t seed, const GeneratorSettings& settings)
{
    auto editor = makeHeadlessEditor();
    editor->connect (false);
    editor->settle (2);
    auto& generator = editor->session().generator();
    generator.settings = settings;
    generator.generate (seed);
    for (int step = 0; step < 2000 && generator.transferring(); ++step)
    {
        editor->instrument().flush();
        editor->time.advance (GeneratorController::sendIntervalMs);
    }
    editor->instrument().flush();
    return buildProgramDump (editor->instrument().editBufferProgram(), sysex::opProgramEditBuffer,
                             sysex::editBufferSubCode);
}

int runGenerate (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    GeneratorSettings settings;
    std::int64_t seed = 0;
    bool haveSeed = false;
    std::string outPath;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const auto& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--seed" && hasValue)
        {
            if (!parseSeed (args[++i], seed))
            {
                err << "SEED must be a whole number, not \"" << args[i] << "\".\n";
                return cli::exitBadInput;
            }
            haveSeed = true;
        }
        else if (a == "--range" && hasValue)
        {
            if (!parseRange (args[++i], settings.experimentalAmount))
            {
                err << "RANGE must be a number from 0 to 1, not \"" << args[i] << "\".\n";
                return cli::exitBadInput;
            }
        }
        else if (a == "--voice" && hasValue)
        {
            const auto& v = args[++i];
            if (v != "either" && v != "mono" && v != "poly")
            {
                err << "VOICE must be either, mono or poly, not \"" << v << "\".\n";
                return cli::exitBadInput;
            }
            settings.voice = v == "mono"   ? GeneratorSettings::Voice::mono
                             : v == "poly" ? GeneratorSettings::Voice::poly
                                           : GeneratorSettings::Voice::either;
        }
        else if (a == "--analog-dist")
            settings.analogDistortion = true;
        else if (a == "--digital-fx")
            settings.digitalEffects = true;
        else if (a == "--out" && hasValue)
            outPath = args[++i];
        else
        {
            err << usage;
            return cli::exitUsage;
        }
    }
    if (!haveSeed)
    {
        err << usage;
        return cli::exitUsage;
    }
    const auto program = ProgramGenerator::generateBass (seed, settings, 1);
    if (!outPath.empty())
    {
        const auto dump = transferredEditBuffer (seed, settings);
        const auto target = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (outPath));
        if (const auto written = writeFileAtomically (target, std::string (dump.begin(), dump.end())); !written)
        {
            err << "Could not write " << target.getFullPathName() << ": " << written.error << "\n";
            return cli::exitBadInput;
        }
    }
    out << toJson (program) << "\n";
    return cli::exitOk;
}

cli::CommandRegistration registration ("generate",
                                       "generate --seed N [--range E] [--voice either|mono|poly] [--analog-dist] "
                                       "[--digital-fx] [--out OUT.syx]",
                                       &runGenerate,
                                       { "Generate a bass Program",
                                         "Builds a bass Program with the editor's generator from the seed N, as the "
                                         "GENERATOR panel's BASS does, and prints it as JSON. --range E (0 SAFE to 1 "
                                         "EXPERIMENTAL) widens the choices, --voice picks MONO or POLY (either by "
                                         "default), --analog-dist and --digital-fx allow distortion and effects.\n\n"
                                         "With --out, the Program is sent to the Virtual Orvo at the generator's "
                                         "pace and the edit buffer it then holds is written to OUT.syx.",
                                         { "--seed", "--range", "--voice", "--analog-dist", "--digital-fx", "--out" } });
} // namespace
