#pragma once
// Scales a window designed at 96 dots per inch to the screen it opens on.

class QWidget;

namespace kav {

// Nothing changes at 96 dpi; at other resolutions the window's size and its children's fonts
// follow the ratio of the screen's dots per inch to 96.
void ScaleForm(QWidget& Form);

} // namespace kav
