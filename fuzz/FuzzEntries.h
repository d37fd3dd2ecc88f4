#pragma once

#include <cstddef>
#include <cstdint>

/** One entry per fuzz target: each feeds arbitrary bytes to the parsers the way the editor does and
    must return normally whatever the bytes are. The libFuzzer binaries and the regression replay in the
    test suite both call these, so an input that once broke something keeps being checked. */
namespace orvo::fuzz
{

/** A .syx file: split, scanned, and every message classified, unpacked and decoded. */
void sysexFile (const std::uint8_t* data, std::size_t size);
/** A .syx file as IMPORT SYSEX analyses it, every message classified on its own, and the Bank
    document an import would write from it. */
void sysexImport (const std::uint8_t* data, std::size_t size);
/** An unpacked Program: fitted to 2,048 signed bytes, and as it is. */
void programDecode (const std::uint8_t* data, std::size_t size);
/** A Program, Mix, Bank or Environment document's text through the parser and every loader, and as
    a tag association table. */
void document (const std::uint8_t* data, std::size_t size);
/** The first bytes of a .orvop as the Program library index reads them, for a lookup and a search. */
void libraryHead (const std::uint8_t* data, std::size_t size);
/** Raw MIDI input to an editor in virtual time. */
void midiInput (const std::uint8_t* data, std::size_t size);
/** A host's saved editor state. */
void editorState (const std::uint8_t* data, std::size_t size);
/** A sidebar-settings clipboard text and tool data through their readers, and the same bytes as
    controller input in every decode mode. */
void toolSettings (const std::uint8_t* data, std::size_t size);

/** The per-user settings file as start-up reads it. */
void settingsFile (const std::uint8_t* data, std::size_t size);
/** A ".orvopreset" file loaded as every kind of user preset into a running editor. */
void userPreset (const std::uint8_t* data, std::size_t size);
/** A layout document's text through the reader, the writer and an edit session that applies it. */
void layoutDocument (const std::uint8_t* data, std::size_t size);

} // namespace orvo::fuzz
