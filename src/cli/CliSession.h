#pragma once
// What every kavtool command works with: one document with the console port, set up as the
// editor's start-up does, and its command line.

#include "cli/CommandLine.h"
#include "cli/ConsoleUserInterface.h"
#include "document/Document.h"
#include "grid/GridModel.h"

#include <string>
#include <vector>

namespace kav {

struct TSession {
    TStyledGridModel Grid;
    ConsoleUserInterface UI;
    TDocument Doc{Grid, UI};
    const TDocumentState& State() const { return Doc.State(); }
    // Lines with content the reading rules left out of the opened file (a save reloads the
    // document, so the count is kept here).
    size_t LoadFindings = 0;

    explicit TSession(const std::string& ProgramDir);
    // Opens a translated file as File > Open does; false when it was refused or did not load.
    bool Open(const std::string& Path);
    // Saves to Path as Save As does once the name is chosen. The file really written (the
    // name corrected to the document's kind) is not replaced unless Force is set or it is the
    // document's own file; false with a message when refused.
    bool SaveAs(const std::string& Path, bool Force);
    // Exit code of a command that went through: 1 when the load left content out or the
    // user was warned, else 0.
    int Finish() const;
};

} // namespace kav
