#pragma once
// The table on paper, for reviewers who print: item, name, English and translation, the
// translation in the item's own font with the band of its allowed width and the findings'
// marker, painted by the grid's own band and marker painting, with the file and language in
// the header and the page numbers in the footer.

#include "document/DocumentState.h"
#include "document/Items.h"
#include "exchange/NamedTranslations.h"
#include "grid/Colors.h"

#include <QPageSize>

#include <string>

namespace kav {

constexpr const char* PdfFilter = "PDF Files (*.pdf)|*.pdf";

struct TPdfOptions {
    QPageSize::PageSizeId Page = QPageSize::A4;
    TItemFindings Findings;
    // "FRA - French (France)": the header names the language with it.
    std::string LanguageEntry;
    // The band's colours, as the window draws it.
    TColor HighlightBack = 12632256; // silver
    TColor HighlightText = 8388608;  // navy
};

// A4 or Letter, as the user's locale prints.
QPageSize::PageSizeId LocalePageSize();

// The PDF's name beside the document: "Kavr_FRA.pdf".
std::string PdfNameOf(const TDocumentState& State);

// Writes the table to Path (landscape, 96 pixels to the inch, so that the widths are the
// product's pixels). Returns the pages written; throws ToolError when the file cannot be
// written. Needs a QGuiApplication for the fonts.
int ExportPdfFile(const std::string& Path, const TDocumentState& State, const TItemTable& Items,
                  const TPdfOptions& Options);

// File > Export > PDF: the dialog, the work, the message.
void AskAndExportPdf(const TDocument& Doc, UserInterface& UI, const TPdfOptions& Options);

} // namespace kav
