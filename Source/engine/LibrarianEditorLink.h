#pragma once

#include "EditorEngine.h"
#include "EffectsController.h"
#include "library/LibrarianEditor.h"

namespace orvo
{

/** The editor as the librarian sees it: the engine's rows, and the effect and route fields that the
    effects controller holds. */
class LibrarianEditorLink final : public LibrarianEditor
{
public:
    LibrarianEditorLink (EditorEngine& e, EffectsController& fx) : engine (e), effects (fx) {}

    int value (int row) const override { return engine.value (row); }
    void setValue (int row, int raw) override { engine.setValue (row, raw); }
    void applyProgramValues (const std::array<int, numRows>& raw, const std::bitset<numRows>& defined) override
    {
        engine.applyProgramValues (raw, defined);
    }
    bool hasOutput() const override { return engine.hasOutput(); }
    void clearEdited() override { engine.clearEdited(); }
    void markProgramUnread (const std::string& slotLabel) override { engine.setProgramUnread (true, slotLabel); }
    std::vector<ParameterEntry> extraParameters() const override { return effects.documentEntries(); }
    bool setControlByKey (const std::string& id, int raw) override { return effects.applyDocumentEntry (id, raw); }

private:
    EditorEngine& engine;
    EffectsController& effects;
};

} // namespace orvo
