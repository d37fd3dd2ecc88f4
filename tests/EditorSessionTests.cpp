#include "HeadlessFixture.h"

using namespace orvo;

using Session = test::HeadlessFixture;

TEST_F (Session, ARestoredEditorStateMovesTheSelectionTheLibrarianKeeps)
{
    ASSERT_TRUE (engine.restoreEditorState (R"({"schema": "orvo.editor.plugin-state.v1", "version": 1,
        "selectedPageTabIndex": 3, "selectedBankIndex": 1, "selectedProgramIndex": 9})"));
    auto& state = editor->librarian().state();
    EXPECT_EQ (state.selectedBank, 0) << "nothing before the timer";
    editor->session().tick();
    EXPECT_EQ (state.selectedBank, 1);
    EXPECT_EQ (state.selectedSlot, 9);
    EXPECT_EQ (engine.page(), 3);
}
