#pragma once
// Text laid out, measured and drawn as the product's platform text output does it: the text's
// bytes decoded in the code page of its character set; bidirectional reordering inside a
// left-to-right paragraph, shaping and mark positioning; a font built by the Windows height rule
// at 96 dpi with full hinting and no kerning, so every advance is a whole pixel; the soft hyphen
// shown and measured as a hyphen and the tab as the font's own glyph for code 9 (never a jump to
// a tab stop). Arial, Times New Roman and Courier New are laid out with the Liberation 2.x files
// (metric-compatible), whatever fontconfig would pick. A product's own font files (the Fonts/
// folder of the program folder) come before both: the face of a family is then the product's.
// The grid's own cell text, the width band, the highlights and kavtool share one instance, so
// their widths agree and their glyphs coincide.

#include "grid/CellProperties.h"
#include "measure/LayoutTriggers.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRawFont>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QPainter;

namespace kav {

struct TTextExtent {
    int Width = 0;
    int Height = 0;
    // The face cannot reproduce the named font's widths, or the text needs glyphs the face
    // lacks: the width is only near the product's.
    bool Approximate = false;
};

// Which face measured a requested family, and whether its widths can be trusted.
struct TFaceInfo {
    std::string Requested;
    std::string Used;
    std::string File; // empty when the system's font matching chose the face
    // Neither the requested family nor a known metric-compatible substitute.
    bool Approximate = false;
};

// One line of text laid out once: measured and drawn from the same glyphs.
class TLaidOutText {
public:
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Some character had to be drawn from another face than the row font's.
    bool MissingGlyphs() const { return FMissing; }
    // Draws the glyphs with the top-left corner of the line at (X, Y).
    void Draw(QPainter& Painter, int X, int Y, const QColor& Color) const;

private:
    friend class TTextMeasure;
    QList<QGlyphRun> FRuns; // positions from the line's top-left corner
    int FWidth = 0;
    int FHeight = 0;
    bool FMissing = false;
};

class TTextMeasure {
public:
    // The instance the grid and kavtool share (needs a QGuiApplication).
    static TTextMeasure& Shared();

    // Bytes decoded with the code page of Charset.
    TTextExtent Measure(std::string_view Bytes, const TMyFont& Font, int Charset);
    // Cached by font and text: the band measures the same texts on every paint.
    TTextExtent MeasureText(const QString& Text, const TMyFont& Font);
    int Width(const QString& Text, const TMyFont& Font) { return MeasureText(Text, Font).Width; }
    TFaceInfo Face(const TMyFont& Font);
    int LineHeight(const TMyFont& Font);

    // Not cached: for drawing, where the glyphs are needed anyway.
    TLaidOutText LayOut(const QString& Text, const TMyFont& Font);
    // Draws Text with its top-left corner at (X, Y).
    void Draw(QPainter& Painter, int X, int Y, const QString& Text, const TMyFont& Font,
              const QColor& Color);

    void ClearCache();
    // Off: every text laid out, as a test compares both ways.
    void SetSummedWidths(bool On) { FSummedWidths = On; }
    std::size_t CachedTexts() const { return FTexts.size(); }

    // The folders searched for the Liberation 2.x files (the first that holds a file wins).
    static QStringList LiberationFolders();

    // The folder of the product's own TrueType and OpenType files (empty: none). Each file
    // measures the items whose font is its family, before any Liberation or system face. The
    // folder is read when a face is first needed, so it may be set before the application runs.
    void SetProductFontFolder(const QString& Folder);
    struct TProductFont {
        QString Family;
        QString File;
        bool Bold = false;
        bool Italic = false;
    };
    // The files of the folder that load as fonts, by file name.
    const std::vector<TProductFont>& ProductFonts();

private:
    struct TFace {
        TFaceInfo Info;
        QRawFont Raw;   // the face itself, when it could be loaded
        QFont Fallback; // the same family through the system, which finds the missing glyphs
        int Ascent = 0;
        int Height = 0;
        int TabAdvance = 0;
        bool Underline = false;
        bool StrikeOut = false;
        // The glyphs the face's default layout may change (empty: every text is laid out),
        // and the advance of each character measured so far, by code point.
        TGlyphSet Triggers;
        std::vector<std::int16_t> Advances;
    };
    // The width of a text whose every character keeps its glyph and advance, as the sum of
    // those advances; nullopt for a text that must be laid out.
    std::optional<int> SummedWidth(TFace& Face, const QString& Text) const;
    int AdvanceOf(TFace& Face, char16_t C) const;
    TFace& FaceOf(const TMyFont& Font);
    TFace& FaceOfKey(const TMyFont& Font);
    const QByteArray& FontFileData(const QString& File);
    // The product's file for a family and style; the second is false when only another style
    // of the family is there (its widths are then only near the product's).
    std::optional<std::pair<QString, bool>> ProductFontFile(const QString& Family, bool Bold,
                                                            bool Italic);
    bool FaceLacksGlyphs(const TFace& Face, const QString& Text) const;
    void LayOutPiece(const TFace& Face, const QString& Piece, int X, TLaidOutText& Out) const;

    std::unordered_map<std::string, std::unique_ptr<TFace>> FFaces;
    std::unordered_map<std::string, TTextExtent> FTexts;
    std::map<QString, QByteArray> FFontFiles; // by path, read once
    bool FSummedWidths = true;
    QString FProductFontFolder;
    std::optional<std::vector<TProductFont>> FProductFonts; // read on first use
    struct TFontFace {
        std::string Name;
        int Height = 0;
        int Style = 0;
        TFace* Face = nullptr;
    };
    std::vector<TFontFace> FFontFaces;
};

// The size in pixels of a font in points at 96 dpi.
int PixelSizeOfPoints(int Points);

} // namespace kav
