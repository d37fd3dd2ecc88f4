#include "HeadlessFixture.h"

#include "model/ValueText.h"

using namespace orvo;

namespace
{
struct Compare : test::HeadlessFixture
{
    EditorSession& session = editor->session();
    CompareController& compare = session.compare();

    Compare()
    {
        editor->connect (true);
        editor->settle (20);
    }
    ProgramSnapshot shown()
    {
        std::array<int, ParameterCatalogue::numRows> rows{};
        for (int r = 0; r < ParameterCatalogue::numRows; ++r)
            rows[(size_t)r] = engine.value (r);
        return ProgramSnapshot::of (rows, session.effects().page(), engine.modulation());
    }
    size_t nrpnsOnTheWire()
    {
        editor->settle (2);
        const auto& text = engine.log().text();
        size_t n = 0;
        for (auto at = text.find ("MIDI Output NRPN:"); at != std::string::npos;
             at = text.find ("MIDI Output NRPN:", at + 1))
            ++n;
        return n;
    }
};

/** Rows sent as one plain NRPN each, without a settle re-send. */
std::vector<int> plainRows (size_t count)
{
    std::vector<int> rows;
    for (int r = 0; r < ParameterCatalogue::numRows && rows.size() < count; ++r)
    {
        const auto& info = ParameterCatalogue::row (r);
        if (info.nrpn >= 0 && !ParameterCatalogue::isTuningRow (info) && info.rawMax - info.rawMin >= 2 &&
            std::string (info.id) != "postfilter.noiseext")
            rows.push_back (r);
    }
    return rows;
}
} // namespace

TEST_F (Compare, TheToggleSendsOnlyTheRowsThatDifferAndLeavingKeepsTheVersionShown)
{
    auto b = shown();
    const auto rows = plainRows (7);
    for (int r : rows)
    {
        const auto& info = ParameterCatalogue::row (r);
        b.rows[(size_t)r] = b.rows[(size_t)r] == info.rawMin ? info.rawMin + 1 : info.rawMin;
    }
    const auto a = shown();
    compare.start (b, "B");
    ASSERT_EQ (compare.differences().size(), rows.size());
    engine.log().midiOutputMonitor.store (true);
    const auto before = nrpnsOnTheWire();
    EXPECT_EQ (compare.toggle(), (int)rows.size());
    EXPECT_EQ (nrpnsOnTheWire() - before, rows.size());
    for (int r : rows)
        EXPECT_EQ (instrument.editBufferValue (r), b.rows[(size_t)r]);
    compare.toggle();
    EXPECT_EQ (nrpnsOnTheWire() - before, 2 * rows.size());
    EXPECT_TRUE (differencesBetween (a, shown()).empty());
    compare.toggle();
    compare.leave();
    editor->settle (2);
    EXPECT_FALSE (compare.isActive());
    EXPECT_TRUE (differencesBetween (b, shown()).empty()) << "leaving keeps B";
    EXPECT_EQ (session.history().undoName(), "COMPARE B");
}

TEST_F (Compare, BIsTheInstrumentsStoredSlotOrALibraryDocument)
{
    const int row = *ParameterCatalogue::findById ("filter1.resonance");
    const int stored = engine.value (row);
    const auto file = editor->folder().getChildFile ("Stored.orvop");
    editor->dialogs.answers = { file.getFullPathName().toStdString() };
    editor->librarian().saveProgram();
    engine.userEdit (row, stored == 10 ? 20 : 10);
    editor->settle (2);

    compare.startWithInstrument();
    for (int i = 0; i < 200 && !compare.isActive(); ++i)
        editor->settle (1);
    ASSERT_TRUE (compare.isActive());
    ASSERT_EQ (compare.differences().size(), 1u);
    const auto& d = compare.differences()[0];
    EXPECT_EQ (d.key, "filter1.resonance");
    EXPECT_EQ (d.b, stored);
    EXPECT_EQ (d.bText, ValueText::displayText (ParameterCatalogue::row (row), stored));
    compare.leave();

    ASSERT_TRUE (compare.startWithDocument (file));
    ASSERT_EQ (compare.differences().size(), 1u);
    EXPECT_EQ (compare.differences()[0].b, stored);
    EXPECT_FALSE (compare.startWithDocument (editor->folder().getChildFile ("missing.orvop")));
    EXPECT_TRUE (logContains ("COMPARE: missing.orvop holds no Program that decodes; nothing was compared.\n"));
}
