// kavtool fonts: which face measures each item font of a document, so a product team sees
// which of its own font files the program folder's Fonts/ still lacks.

#include "cli/CliSession.h"
#include "cli/FontApplication.h"
#include "measure/DocumentFaces.h"

#include <iostream>

namespace kav {

namespace {

int Fonts(const std::string& ProgramDir, const TArgs& A) {
    const auto App = FontApplication();
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    std::vector<std::string> Faulty;
    const TFontSubstitutes& Substitutes = ProjectSubstitutes(S.State().FProgramDir, &Faulty);
    for (const std::string& Error : Faulty)
        std::cerr << "kavtool: warning: " << Error << "\n";
    for (const TDocumentFace& Face : DocumentFaces(S.Doc.Items(), TTextMeasure::Shared(),
                                                   &Substitutes, S.State().FLanguageCode))
        std::cout << DocumentFaceLine(Face) << "\n";
    return S.Finish();
}

const TRegisterCommand
    RegisterFonts({"fonts",
                   "FILE",
                   {},
                   "each item font the document uses and the font file that measures it",
                   Fonts});

} // namespace

} // namespace kav
