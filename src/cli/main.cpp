#include "cli/Kavtool.h"
#include "document/ProgramFolder.h"
#include "measure/TextMeasure.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::string ProgramDir = kav::ResolveProgramFolder(argc, argv);
    kav::TTextMeasure::Shared().SetProductFontFolder(
        QString::fromStdString(kav::ProductFontFolder(ProgramDir)));
    return kav::RunKavtool(ProgramDir, std::vector<std::string>(argv + 1, argv + argc));
}
