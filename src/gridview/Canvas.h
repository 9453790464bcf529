#pragma once
// A drawing surface in the terms the grid's drawing code is written in: a font, a brush and a
// pen held as grid values, rectangles filled with the brush, and text drawn or measured with the
// flags of the platform text-drawing call (alignment, word breaks, end ellipsis, prefixes).

#include "grid/CellProperties.h"

#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

class QPainter;

namespace kav {

enum TDrawTextFlag : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000
};

class TCanvas {
public:
    explicit TCanvas(const QPalette& Palette = QPalette());

    // Drawing needs a painter; measuring works without one.
    void Begin(QPainter* Painter);
    void End();
    QPainter* Painter() const { return FPainter; }
    void SetPalette(const QPalette& Palette) { FPalette = Palette; }

    TMyFont Font;
    TMyBrush Brush;
    TColor PenColor = clBlack;
    // With a transparent background text leaves what is behind it.
    bool TransparentBackground = false;

    QFont QtFont() const;
    QColor ToQColor(TColor Color) const;

    void FillRect(const QRect& Rect);
    void FrameRect(const QRect& Rect);
    void Line(QPoint From, QPoint To);
    // Text at (X, Y), clipped to Rect, over the brush unless the background is transparent.
    void TextRect(const QRect& Rect, int X, int Y, const QString& Text);
    int TextWidth(const QString& Text) const;
    int TextHeight(const QString& Text) const;
    // Draws Text into Rect by Flags; with DT_CALCRECT nothing is drawn and Rect receives the
    // extent. Returns the height of the text.
    int DrawText(const QString& Text, QRect& Rect, unsigned Flags);

private:
    QStringList LayoutLines(const QString& Text, int Width, unsigned Flags) const;

    QPainter* FPainter = nullptr;
    QPalette FPalette;
    // Cells mostly share a font: building the Qt font once per change keeps painting cheap.
    mutable TMyFont FCachedFrom;
    mutable QFont FCachedFont;
    mutable bool FCacheValid = false;
};

// Line breaks as the platform call honours them: CR LF, and a lone CR or LF.
QStringList SplitTextLines(const QString& Text);
// "&x" becomes "x" and "&&" becomes "&".
QString StripPrefixes(const QString& Text);

} // namespace kav
