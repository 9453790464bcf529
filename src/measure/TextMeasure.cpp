#include "measure/TextMeasure.h"

#include "text/CodePage.h"

#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace kav {

namespace {

constexpr QChar SoftHyphen(0x00AD);
constexpr QChar Tab(0x0009);
// Beyond this many distinct texts the cache starts afresh. It serves the texts drawn again and
// again (the visible rows, a few hundred); a check of a whole table measures each text once, and
// keeping all of them would cost more than the table's own texts.
constexpr std::size_t MaxCachedTexts = 4096;

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
        Face->Raw = QRawFont(FontFileData(File), Pixels, QFont::PreferFullHinting);
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
    Face->Underline = (Font.Style() & fsUnderline) != 0;
    Face->StrikeOut = (Font.Style() & fsStrikeOut) != 0;
    const QRawFont Metrics = Face->Raw.isValid() ? Face->Raw : QRawFont::fromFont(Face->Fallback);
    if (Metrics.isValid()) {
        Face->Ascent = static_cast<int>(std::ceil(Metrics.ascent() - 0.001));
        Face->Height = Face->Ascent + static_cast<int>(std::ceil(Metrics.descent() - 0.001));
        const QList<quint32> TabGlyph = Metrics.glyphIndexesForString(QString(Tab));
        const QList<QPointF> TabAdvance = Metrics.advancesForGlyphIndexes(TabGlyph);
        Face->TabAdvance =
            TabAdvance.isEmpty() ? 0 : static_cast<int>(std::lround(TabAdvance.first().x()));
    } else {
        const QFontMetrics Fallback(Face->Fallback);
        Face->Ascent = Fallback.ascent();
        Face->Height = Fallback.height();
        Face->TabAdvance = Fallback.horizontalAdvance(QLatin1Char(' '));
    }
    return *FFaces.emplace(Key, std::move(Face)).first->second;
}

const QByteArray& TTextMeasure::FontFileData(const QString& File) {
    auto Found = FFontFiles.find(File);
    if (Found != FFontFiles.end()) {
        return Found->second;
    }
    // Read as the raw font would read it itself; the faces of every size and the copies of
    // each face share this one copy of the file's bytes.
    QFile Font(File);
    QByteArray Data;
    if (Font.open(QIODevice::ReadOnly)) {
        Data = Font.readAll();
    }
    return FFontFiles.emplace(File, std::move(Data)).first->second;
}

bool TTextMeasure::FaceLacksGlyphs(const TFace& Face, const QString& Text) const {
    if (!Face.Raw.isValid()) {
        return false;
    }
    for (const char32_t C : Text.toUcs4()) {
        const QChar::Category Category = QChar::category(C);
        // Controls and format characters (direction marks, joiners) are never drawn.
        if (Category == QChar::Other_Control || Category == QChar::Other_Format) {
            continue;
        }
        if (!Face.Raw.supportsCharacter(C)) {
            return true;
        }
    }
    return false;
}

void TTextMeasure::LayOutPiece(const TFace& Face, const QString& Piece, int X,
                               TLaidOutText& Out) const {
    if (Piece.isEmpty()) {
        return;
    }
    QTextLayout Layout(Piece);
    if (Face.Raw.isValid()) {
        // The raw face keeps the chosen file; characters it lacks come from the system's
        // fallback faces for their script.
        Layout.setRawFont(Face.Raw);
    } else {
        Layout.setFont(Face.Fallback);
    }
    QTextOption Option;
    Option.setTextDirection(Qt::LeftToRight);
    Option.setWrapMode(QTextOption::NoWrap);
    Layout.setTextOption(Option);
    QTextCharFormat Format;
    Format.setFontKerning(false);
    Format.setFontHintingPreference(QFont::PreferFullHinting);
    Layout.setFormats({QTextLayout::FormatRange{0, static_cast<int>(Piece.size()), Format}});
    Layout.beginLayout();
    QTextLine Line = Layout.createLine();
    Line.setLineWidth(1.0e6);
    Layout.endLayout();
    const qreal Baseline = Line.ascent();
    for (QGlyphRun Run : Layout.glyphRuns()) {
        QList<QPointF> Positions = Run.positions();
        for (QPointF& P : Positions) {
            // Every piece sits on the row font's baseline, whatever face drew it.
            P = QPointF(P.x() + X, P.y() - Baseline + Face.Ascent);
        }
        Run.setPositions(Positions);
        Run.setUnderline(Face.Underline);
        Run.setStrikeOut(Face.StrikeOut);
        Out.FRuns << Run;
    }
    Out.FWidth += static_cast<int>(std::lround(Line.horizontalAdvance()));
}

TLaidOutText TTextMeasure::LayOut(const QString& Text, const TMyFont& Font) {
    TFace& Face = FaceOf(Font);
    TLaidOutText Out;
    Out.FHeight = Face.Height;
    const QString Shown = MeasuredForm(Text);
    Out.FMissing = FaceLacksGlyphs(Face, Shown);
    // A tab separates segments of the bidirectional algorithm anyway, so laying out the pieces
    // between tabs one by one changes no order; each tab advances by its own glyph's width.
    const QStringList Pieces = Shown.split(Tab);
    for (qsizetype I = 0; I < Pieces.size(); ++I) {
        if (I > 0) {
            Out.FWidth += Face.TabAdvance;
        }
        LayOutPiece(Face, Pieces[I], Out.FWidth, Out);
    }
    return Out;
}

void TLaidOutText::Draw(QPainter& Painter, int X, int Y, const QColor& Color) const {
    Painter.save();
    Painter.setPen(Color);
    for (const QGlyphRun& Run : FRuns) {
        Painter.drawGlyphRun(QPointF(X, Y), Run);
    }
    Painter.restore();
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
    const TLaidOutText Laid = LayOut(Text, Font);
    const TTextExtent Extent{Laid.Width(), Laid.Height(),
                             FaceOf(Font).Info.Approximate || Laid.MissingGlyphs()};
    if (FTexts.size() >= MaxCachedTexts) {
        FTexts.clear();
    }
    FTexts.emplace(Key, Extent);
    return Extent;
}

TFaceInfo TTextMeasure::Face(const TMyFont& Font) {
    return FaceOf(Font).Info;
}

int TTextMeasure::LineHeight(const TMyFont& Font) {
    return FaceOf(Font).Height;
}

void TTextMeasure::Draw(QPainter& Painter, int X, int Y, const QString& Text, const TMyFont& Font,
                        const QColor& Color) {
    LayOut(Text, Font).Draw(Painter, X, Y, Color);
}

void TTextMeasure::ClearCache() {
    FTexts.clear();
    FFaces.clear();
    FFontFiles.clear();
}

} // namespace kav
