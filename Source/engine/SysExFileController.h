#pragma once

#include "EditorEngine.h"
#include "LibrarianController.h"
#include "library/SysExExport.h"
#include "library/SysExImportFlow.h"
#include "sync/SyncEngine.h"

#include <memory>

namespace orvo
{

/** "IMPORT SYSEX" and "EXPORT SYSEX": the two librarian flows wired to the editor, its library and
    the sync's edit-buffer request. */
class SysExFileController
{
public:
    SysExFileController (EditorEngine& engine, LibrarianController& librarian, SyncEngine& sync);

    void importSysEx() { importer->importSysExFile(); }
    void exportSysEx() { exporter->exportSysEx(); }

    SysExImportFlow& importFlow() { return *importer; }
    SysExExportFlow& exportFlow() { return *exporter; }

private:
    std::unique_ptr<SysExImportFlow> importer;
    std::unique_ptr<SysExExportFlow> exporter;
};

} // namespace orvo
