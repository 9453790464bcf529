#include "editing/TextMeasure.h"

#include "document/CodePage.h"

#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>

#include <cmath>

namespace kav {

namespace {

constexpr QChar SoftHyphen(0x00AD);
constexpr QChar Tab(0x0009);
// Beyond this many distinct texts the cache starts afresh rather than grow without end.
constexpr std::size_t MaxCachedTexts = 500000;

struct TKnownPair {
    const char* Family; // lower case
    const char* FilePrefix;
    const char* Face;
};

// The families whose widths the Liberation faces reproduce exactly.
constexpr TKnownPair KnownPairs[] = {
    {"arial", "LiberationSans", "Liberation Sans"},
    {"liberation sans", "LiberationSans", "Liberation Sans"},
    {"times new roman", "LiberationSerif", "Liberation Serif"},
    {"liberation serif", "LiberationSerif", "Liberation Serif"},
    {"courier new", "LiberationMono", "Liberation Mono"},
    {"liberation mono", "LiberationMono", "Liberation Mono"},
};

const TKnownPair* KnownPairOf(const std::string& Family) {
    const std::string Lower = QString::fromStdString(Family).trimmed().toLower().toStdString();
    for (const TKnownPair& Pair : KnownPairs) {
        if (Lower == Pair.Family) {
            return &Pair;
        }
    }
    return nullptr;
}

bool SameFamily(const QString& A, const QString& B) {
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

QString StyleSuffix(bool Bold, bool Italic) {
    if (Bold && Italic) {
        return "BoldItalic";
    }
    if (Bold) {
        return "Bold";
    }
    return Italic ? "Italic" : "Regular";
}

QString LiberationFile(const TKnownPair& Pair, bool Bold, bool Italic) {
    const QString Name =
        QString::fromLatin1(Pair.FilePrefix) + "-" + StyleSuffix(Bold, Italic) + ".ttf";
    for (const QString& Folder : TTextMeasure::LiberationFolders()) {
        const QString Path = Folder + "/" + Name;
        if (QFileInfo::exists(Path)) {
            return Path;
        }
    }
    return {};
}

QFont SystemFont(const std::string& Family, bool Bold, bool Italic, int Pixels) {
    QFont Font(QString::fromStdString(Family));
    Font.setHintingPreference(QFont::PreferFullHinting);
    Font.setKerning(false);
    Font.setBold(Bold);
    Font.setItalic(Italic);
    Font.setPixelSize(std::max(1, Pixels));
    return Font;
}

// The em height in pixels: a negative height is the em height itself, a positive one the cell
// height (ascent plus descent), scaled by the face's own proportion.
int EmPixels(const TMyFont& Font) {
    const int Height = Font.Height();
    if (Height < 0) {
        return -Height;
    }
    if (Height == 0) {
        return PixelSizeOfPoints(8);
    }
    const QRawFont Raw = QRawFont::fromFont(SystemFont(Font.Name(), false, false, Height));
    const double Cell = Raw.ascent() + Raw.descent();
    return Cell > 0 ? std::max(1, static_cast<int>(std::lround(Height * Height / Cell))) : Height;
}

// What the Windows renderer measures in place of the characters Qt gives no advance.
QString MeasuredForm(const QString& Text) {
    QString Result = Text;
    Result.replace(SoftHyphen, QLatin1Char('-'));
    return Result;
}

std::string FaceKey(const TMyFont& Font) {
    return QString::fromStdString(Font.Name()).trimmed().toLower().toStdString() + '\x1f' +
           std::to_string(Font.Style() & (fsBold | fsItalic)) + '\x1f' +
           std::to_string(EmPixels(Font));
}

} // namespace

int PixelSizeOfPoints(int Points) {
    return MulDiv(Points, ScreenPixelsPerInch, 72);
}

TTextMeasure& TTextMeasure::Shared() {
    static TTextMeasure Instance;
    return Instance;
}

QStringList TTextMeasure::LiberationFolders() {
    QStringList Folders;
    const QByteArray Own = qgetenv("KAV_LIBERATION2_DIR");
    if (!Own.isEmpty()) {
        Folders << QString::fromLocal8Bit(Own);
    }
    Folders << "/usr/share/fonts/truetype/liberation2"
            << "/usr/share/fonts/liberation2"
            << "/usr/local/share/fonts/liberation2";
    return Folders;
}

TTextMeasure::TFace& TTextMeasure::FaceOf(const TMyFont& Font) {
    const std::string Key = FaceKey(Font);
    auto Found = FFaces.find(Key);
    if (Found != FFaces.end()) {
        return *Found->second;
    }
    auto Face = std::make_unique<TFace>();
    const bool Bold = (Font.Style() & fsBold) != 0;
    const bool Italic = (Font.Style() & fsItalic) != 0;
    const int Pixels = EmPixels(Font);
    const std::string Requested = Font.Name().empty() ? std::string("Arial") : Font.Name();
    Face->Info.Requested = Requested;
    Face->Fallback = SystemFont(Requested, Bold, Italic, Pixels);
    const TKnownPair* Pair = KnownPairOf(Requested);
    const QString File = Pair ? LiberationFile(*Pair, Bold, Italic) : QString();
    if (!File.isEmpty()) {
        Face->Raw = QRawFont(File, Pixels, QFont::PreferFullHinting);
        Face->Info.File = File.toStdString();
    }
    if (!Face->Raw.isValid()) {
        Face->Raw = QRawFont::fromFont(Face->Fallback);
    }
    const QString Used =
        Face->Raw.isValid() ? Face->Raw.familyName() : QFontInfo(Face->Fallback).family();
    Face->Info.Used = Used.toStdString();
    Face->Fallback.setFamily(Used);
    const bool Compatible = Pair && SameFamily(Used, QString::fromLatin1(Pair->Face));
    Face->Info.Approximate = !Compatible && !SameFamily(Used, QString::fromStdString(Requested));
    if (Face->Raw.isValid()) {
        Face->Height = static_cast<int>(std::ceil(Face->Raw.ascent() - 0.001)) +
                       static_cast<int>(std::ceil(Face->Raw.descent() - 0.001));
    } else {
        Face->Height = QFontMetrics(Face->Fallback).height();
    }
    return *FFaces.emplace(Key, std::move(Face)).first->second;
}

int TTextMeasure::GlyphWidth(TFace& Face, const QString& Text) const {
    const QString Measured = MeasuredForm(Text);
    if (!Face.Raw.isValid()) {
        return QFontMetrics(Face.Fallback).horizontalAdvance(Measured);
    }
    const QList<quint32> Glyphs = Face.Raw.glyphIndexesForString(Measured);
    for (qsizetype I = 0; I < Glyphs.size() && I < Measured.size(); ++I) {
        // A character the face lacks is drawn from another face by the system: measure the
        // whole text the same way then.
        if (Glyphs[I] == 0 && Measured[I] != Tab && !Measured[I].isSurrogate()) {
            return QFontMetrics(Face.Fallback).horizontalAdvance(Measured);
        }
    }
    const QList<QPointF> Advances = Face.Raw.advancesForGlyphIndexes(Glyphs);
    int Width = 0;
    for (const QPointF& Advance : Advances) {
        Width += static_cast<int>(std::lround(Advance.x()));
    }
    return Width;
}

TTextExtent TTextMeasure::Measure(std::string_view Bytes, const TMyFont& Font, int Charset) {
    return MeasureText(DecodeBytes(Bytes, CodePageForCharset(Charset)), Font);
}

TTextExtent TTextMeasure::MeasureText(const QString& Text, const TMyFont& Font) {
    const std::string Key = FaceKey(Font) + '\x1e' + Text.toStdString();
    auto Found = FTexts.find(Key);
    if (Found != FTexts.end()) {
        return Found->second;
    }
    TFace& Face = FaceOf(Font);
    const TTextExtent Extent{GlyphWidth(Face, Text), Face.Height};
    if (FTexts.size() >= MaxCachedTexts) {
        FTexts.clear();
    }
    FTexts.emplace(Key, Extent);
    return Extent;
}

TFaceInfo TTextMeasure::Face(const TMyFont& Font) {
    return FaceOf(Font).Info;
}

void TTextMeasure::Draw(QPainter& Painter, int X, int Y, const QString& Text, const TMyFont& Font,
                        const QColor& Color) {
    TFace& Face = FaceOf(Font);
    const QString Drawn = MeasuredForm(Text);
    Painter.save();
    Painter.setPen(Color);
    const QList<quint32> Glyphs =
        Face.Raw.isValid() ? Face.Raw.glyphIndexesForString(Drawn) : QList<quint32>();
    const bool AllGlyphs = Face.Raw.isValid() && !Glyphs.contains(0u);
    if (AllGlyphs) {
        const QList<QPointF> Advances = Face.Raw.advancesForGlyphIndexes(Glyphs);
        QList<QPointF> Positions;
        qreal Pen = 0;
        for (const QPointF& Advance : Advances) {
            Positions << QPointF(Pen, 0);
            Pen += std::lround(Advance.x());
        }
        QGlyphRun Run;
        Run.setRawFont(Face.Raw);
        Run.setGlyphIndexes(Glyphs);
        Run.setPositions(Positions);
        Run.setUnderline((Font.Style() & fsUnderline) != 0);
        Run.setStrikeOut((Font.Style() & fsStrikeOut) != 0);
        Painter.drawGlyphRun(QPointF(X, Y + std::ceil(Face.Raw.ascent() - 0.001)), Run);
    } else {
        Painter.setFont(Face.Fallback);
        Painter.drawText(QPoint(X, Y + QFontMetrics(Face.Fallback).ascent()), Drawn);
    }
    Painter.restore();
}

void TTextMeasure::ClearCache() {
    FTexts.clear();
    FFaces.clear();
}

} // namespace kav
