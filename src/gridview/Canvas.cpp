#include "gridview/Canvas.h"

#include "gridview/FontBuild.h"
#include "measure/TextMeasure.h"

#include <QPainter>

namespace kav {

namespace {

// Widths of lines as they are drawn, not cached: cell texts are many and change.
int LineWidth(const QString& Line, const TMyFont& Font) {
    return TTextMeasure::Shared().LayOut(Line, Font).Width();
}

// Greedy breaking at spaces; a word longer than the line stays whole and is clipped.
QStringList WrapLine(const QString& Line, int Width, const TMyFont& Font) {
    QStringList Result;
    QString Current;
    const QStringList Words = Line.split(QLatin1Char(' '));
    for (const QString& Word : Words) {
        const QString Candidate = Current.isNull() ? Word : Current + QLatin1Char(' ') + Word;
        if (!Current.isNull() && LineWidth(Candidate, Font) > Width) {
            Result << Current;
            Current = Word;
        } else {
            Current = Candidate;
        }
    }
    Result << (Current.isNull() ? QString() : Current);
    return Result;
}

// The longest start of Line that fits Width together with the ellipsis that ends it.
QString Elided(const QString& Line, int Width, const TMyFont& Font) {
    if (LineWidth(Line, Font) <= Width) {
        return Line;
    }
    const QString Ellipsis(QChar(0x2026));
    qsizetype Keep = Line.size();
    while (Keep > 0 && LineWidth(Line.left(Keep) + Ellipsis, Font) > Width) {
        --Keep;
        if (Keep > 0 && Line[Keep].isLowSurrogate()) {
            --Keep;
        }
    }
    return Line.left(Keep) + Ellipsis;
}

int AlignedX(const QRect& Rect, int TextWidth, unsigned Flags) {
    if (Flags & DT_RIGHT) {
        return Rect.right() + 1 - TextWidth;
    }
    if (Flags & DT_CENTER) {
        return Rect.left() + (Rect.width() - TextWidth) / 2;
    }
    return Rect.left();
}

} // namespace

QStringList SplitTextLines(const QString& Text) {
    QStringList Lines;
    QString Current;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        const QChar C = Text[I];
        if (C == QLatin1Char('\r') || C == QLatin1Char('\n')) {
            Lines << Current;
            Current.clear();
            if (C == QLatin1Char('\r') && I + 1 < Text.size() && Text[I + 1] == QLatin1Char('\n')) {
                ++I;
            }
        } else {
            Current += C;
        }
    }
    Lines << Current;
    return Lines;
}

QString StripPrefixes(const QString& Text) {
    QString Result;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I] == QLatin1Char('&') && I + 1 < Text.size()) {
            ++I;
        }
        Result += Text[I];
    }
    return Result;
}

TCanvas::TCanvas(const QPalette& Palette) : FPalette(Palette) {}

void TCanvas::Begin(QPainter* Painter) {
    FPainter = Painter;
}

void TCanvas::End() {
    FPainter = nullptr;
}

QFont TCanvas::QtFont() const {
    if (!FCacheValid || !(FCachedFrom == Font)) {
        FCachedFrom = Font;
        FCachedFont = BuildFont(Font);
        FCacheValid = true;
    }
    return FCachedFont;
}

QColor TCanvas::ToQColor(TColor Color) const {
    return ColorToQColor(Color, FPalette);
}

void TCanvas::FillRect(const QRect& Rect) {
    if (FPainter && Brush.Style() != bsClear) {
        FPainter->fillRect(Rect, ToQColor(Brush.Color()));
    }
}

void TCanvas::FrameRect(const QRect& Rect) {
    if (FPainter) {
        FPainter->setPen(ToQColor(Brush.Color()));
        FPainter->setBrush(Qt::NoBrush);
        FPainter->drawRect(Rect.adjusted(0, 0, -1, -1));
    }
}

void TCanvas::Line(QPoint From, QPoint To) {
    if (FPainter) {
        FPainter->setPen(ToQColor(PenColor));
        FPainter->drawLine(From, To);
    }
}

void TCanvas::TextRect(const QRect& Rect, int X, int Y, const QString& Text) {
    if (!FPainter) {
        return;
    }
    FPainter->save();
    FPainter->setClipRect(Rect, Qt::IntersectClip);
    if (!TransparentBackground) {
        FillRect(Rect);
    }
    TTextMeasure::Shared().Draw(*FPainter, X, Y, Text, Font, ToQColor(Font.Color()));
    FPainter->restore();
}

int TCanvas::TextWidth(const QString& Text) const {
    return LineWidth(Text, Font);
}

int TCanvas::TextHeight(const QString& Text) const {
    Q_UNUSED(Text);
    return TTextMeasure::Shared().LineHeight(Font);
}

QStringList TCanvas::LayoutLines(const QString& Text, int Width, unsigned Flags) const {
    const QString Shown = (Flags & DT_NOPREFIX) ? Text : StripPrefixes(Text);
    QStringList Lines;
    if (Flags & DT_SINGLELINE) {
        QString Joined = Shown;
        Joined.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), ' ');
        Lines << Joined;
    } else {
        Lines = SplitTextLines(Shown);
    }
    QStringList Result;
    for (const QString& Line : Lines) {
        if ((Flags & DT_WORDBREAK) && !(Flags & DT_SINGLELINE)) {
            Result << WrapLine(Line, Width, Font);
        } else {
            Result << Line;
        }
    }
    if (Flags & DT_END_ELLIPSIS) {
        for (QString& Line : Result) {
            Line = Elided(Line, Width, Font);
        }
    }
    return Result;
}

int TCanvas::DrawText(const QString& Text, QRect& Rect, unsigned Flags) {
    TTextMeasure& Measure = TTextMeasure::Shared();
    const QStringList Lines = LayoutLines(Text, Rect.width(), Flags);
    const int LineHeight = Measure.LineHeight(Font);
    const int Height = LineHeight * static_cast<int>(Lines.size());
    if (Flags & DT_CALCRECT) {
        int Width = 0;
        for (const QString& Line : Lines) {
            Width = std::max(Width, LineWidth(Line, Font));
        }
        // An empty text has no extent at all, not one empty line.
        const int Tall = Text.isEmpty() ? 0 : Height;
        Rect.setWidth(Text.isEmpty() ? 0 : Width);
        Rect.setHeight(Tall);
        return Tall;
    }
    if (!FPainter) {
        return Height;
    }
    FPainter->save();
    if (!(Flags & DT_NOCLIP)) {
        FPainter->setClipRect(Rect, Qt::IntersectClip);
    }
    const QColor Colour = ToQColor(Font.Color());
    int Y = Rect.top();
    for (const QString& Line : Lines) {
        // Laid out once, then placed and drawn from the same glyphs.
        const TLaidOutText Laid = Measure.LayOut(Line, Font);
        const int X = AlignedX(Rect, Laid.Width(), Flags);
        if (!TransparentBackground) {
            FPainter->fillRect(QRect(X, Y, Laid.Width(), LineHeight), ToQColor(Brush.Color()));
        }
        Laid.Draw(*FPainter, X, Y, Colour);
        Y += LineHeight;
        if (Y > Rect.bottom()) {
            break;
        }
    }
    FPainter->restore();
    return Height;
}

} // namespace kav
