#include "gridview/FontBuild.h"

#include <QFontMetricsF>

#include <cmath>

namespace kav {

namespace {

// A positive height is the cell height (ascent plus descent); Qt wants the em height, so scale
// by the face's own proportion.
int EmPixelsForCellHeight(QFont Font, int CellHeight) {
    Font.setPixelSize(CellHeight);
    const QFontMetricsF Metrics(Font);
    const double Cell = Metrics.ascent() + Metrics.descent();
    if (Cell <= 0) {
        return CellHeight;
    }
    return std::max(1, static_cast<int>(std::lround(CellHeight * CellHeight / Cell)));
}

QColor PaletteColor(int Index, const QPalette& Palette) {
    switch (Index) {
    case 1:
        return QColor(58, 110, 165);
    case 3:
        return QColor(128, 128, 128);
    case 6:
        return QColor(Qt::black);
    case 4:
        return Palette.color(QPalette::Window);
    case 5:
        return Palette.color(QPalette::Base);
    case 7:
    case 8:
        return Palette.color(QPalette::Text);
    case 9:
    case 14:
        return Palette.color(QPalette::HighlightedText);
    case 2:
    case 13:
        return Palette.color(QPalette::Highlight);
    case 12:
        return Palette.color(QPalette::Mid);
    case 16:
        return Palette.color(QPalette::Dark);
    case 17:
        return Palette.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return Palette.color(QPalette::ButtonText);
    case 19:
    case 20:
        return Palette.color(QPalette::Light);
    case 21:
        return Palette.color(QPalette::Shadow);
    case 22:
        return Palette.color(QPalette::Midlight);
    case 23:
        return Palette.color(QPalette::ToolTipText);
    case 24:
        return Palette.color(QPalette::ToolTipBase);
    default:
        return Palette.color(QPalette::Button);
    }
}

} // namespace

QFont BuildFont(const TMyFont& Font) {
    QFont Result(QString::fromStdString(Font.Name()));
    Result.setHintingPreference(QFont::PreferFullHinting);
    Result.setKerning(false);
    Result.setBold((Font.Style() & fsBold) != 0);
    Result.setItalic((Font.Style() & fsItalic) != 0);
    Result.setUnderline((Font.Style() & fsUnderline) != 0);
    Result.setStrikeOut((Font.Style() & fsStrikeOut) != 0);
    if (Font.Pitch() == fpFixed) {
        Result.setStyleHint(QFont::TypeWriter);
    }
    const int Height = Font.Height();
    if (Height < 0) {
        Result.setPixelSize(-Height);
    } else if (Height > 0) {
        Result.setPixelSize(EmPixelsForCellHeight(Result, Height));
    } else {
        Result.setPixelSize(MulDiv(8, ScreenPixelsPerInch, 72));
    }
    return Result;
}

QColor ColorToQColor(TColor Color, const QPalette& Palette) {
    if (Color == clNone) {
        return QColor(Qt::transparent);
    }
    if (Color == clDefault) {
        return Palette.color(QPalette::Base);
    }
    if (IsSystemColor(Color)) {
        return PaletteColor(static_cast<int>(static_cast<std::uint32_t>(Color) & 0xFFu), Palette);
    }
    const auto Value = static_cast<std::uint32_t>(Color);
    return QColor(static_cast<int>(Value & 0xFFu), static_cast<int>((Value >> 8) & 0xFFu),
                  static_cast<int>((Value >> 16) & 0xFFu));
}

} // namespace kav
