#pragma once
// Text extents as the product measures them: the text's bytes decoded in the code page of its
// character set, a font built by the Windows height rule at 96 dpi with full hinting and no
// kerning, each glyph's advance rounded to whole pixels, the soft hyphen measured as a hyphen and
// the tab as the font's own glyph for code 9. Arial, Times New Roman and Courier New are
// measured with the Liberation 2.x files (metric-compatible), whatever fontconfig would pick.
// The grid and kavtool share one instance, so both always agree.

#include "grid/CellProperties.h"

#include <QColor>
#include <QFont>
#include <QRawFont>
#include <QString>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

class QPainter;

namespace kav {

struct TTextExtent {
    int Width = 0;
    int Height = 0;
};

// Which face measured a requested family, and whether its widths can be trusted.
struct TFaceInfo {
    std::string Requested;
    std::string Used;
    std::string File; // empty when the system's font matching chose the face
    // Neither the requested family nor a known metric-compatible substitute.
    bool Approximate = false;
};

class TTextMeasure {
public:
    // The instance the grid and kavtool share (needs a QGuiApplication).
    static TTextMeasure& Shared();

    // Bytes decoded with the code page of Charset.
    TTextExtent Measure(std::string_view Bytes, const TMyFont& Font, int Charset);
    TTextExtent MeasureText(const QString& Text, const TMyFont& Font);
    int Width(const QString& Text, const TMyFont& Font) { return MeasureText(Text, Font).Width; }
    TFaceInfo Face(const TMyFont& Font);

    // Draws Text with its top-left corner at (X, Y), glyph by glyph at the measured advances.
    void Draw(QPainter& Painter, int X, int Y, const QString& Text, const TMyFont& Font,
              const QColor& Color);

    void ClearCache();
    std::size_t CachedTexts() const { return FTexts.size(); }

    // The folders searched for the Liberation 2.x files (the first that holds a file wins).
    static QStringList LiberationFolders();

private:
    struct TFace {
        TFaceInfo Info;
        QRawFont Raw;
        QFont Fallback; // used where the raw face lacks a glyph
        int Height = 0;
    };
    TFace& FaceOf(const TMyFont& Font);
    int GlyphWidth(TFace& Face, const QString& Text) const;

    std::unordered_map<std::string, std::unique_ptr<TFace>> FFaces;
    std::unordered_map<std::string, TTextExtent> FTexts;
};

// The size in pixels of a font in points at 96 dpi.
int PixelSizeOfPoints(int Points);

} // namespace kav
