#pragma once
// Help > Fonts: each item font of the document and what measures it (a font file of the
// program folder's Fonts/, a Liberation file, a system face, or a substitute), with the
// language's linked faces, as kavtool fonts prints it.

#include "measure/DocumentFaces.h"

#include <QDialog>

#include <vector>

namespace kav {

class TFontsDialog : public QDialog {
public:
    // Dpi: the product's display setting the widths are checked at, said under the list.
    TFontsDialog(const std::vector<TDocumentFace>& Faces, int Dpi, QWidget* Parent);
};

} // namespace kav
