#include "measure/TextMeasure.h"

#include "text/CodePage.h"

#include <QDir>
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

// Advances of characters not measured yet, and of those only a layout measures.
constexpr std::int16_t UnknownAdvance = -1;
constexpr std::int16_t LaidOutAdvance = -2;

// The glyphs where the face's default layout may act, or none when it cannot be told (then
// every text is laid out).
TGlyphSet TriggersOf(const QRawFont& Raw) {
    if (!Raw.isValid()) {
        return {};
    }
    const QByteArray Maxp = Raw.fontTable("maxp");
    if (Maxp.size() < 6) {
        return {};
    }
    const int Glyphs =
        static_cast<unsigned char>(Maxp[4]) << 8 | static_cast<unsigned char>(Maxp[5]);
    std::optional<TGlyphSet> Triggers =
        LayoutTriggerGlyphs(Raw.fontTable("GSUB"), Raw.fontTable("GPOS"), Glyphs);
    return Triggers ? std::move(*Triggers) : TGlyphSet{};
}

// A character that keeps its own glyph in a left-to-right line: scripts the shaper gives no
// features of their own, no marks, controls or direction formatting, and not the fraction
// slash (which makes the shaper build fractions).
bool KeepsItsGlyph(char16_t C) {
    const QChar Char(C);
    if (Char.isSurrogate() || C == 0x2044) {
        return false;
    }
    switch (Char.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        break;
    }
    switch (Char.direction()) {
    case QChar::DirL:
    case QChar::DirEN:
    case QChar::DirES:
    case QChar::DirET:
    case QChar::DirCS:
    case QChar::DirWS:
    case QChar::DirON:
        break;
    default:
        return false;
    }
    switch (Char.script()) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Bopomofo:
        return true;
    default:
        return false;
    }
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

void TTextMeasure::SetProductFontFolder(const QString& Folder) {
    if (Folder == FProductFontFolder && FProductFonts) {
        return;
    }
    FProductFontFolder = Folder;
    FProductFonts.reset();
    ClearCache();
}

const std::vector<TTextMeasure::TProductFont>& TTextMeasure::ProductFonts() {
    if (FProductFonts) {
        return *FProductFonts;
    }
    FProductFonts.emplace();
    if (FProductFontFolder.isEmpty()) {
        return *FProductFonts;
    }
    const QDir Dir(FProductFontFolder);
    const QStringList Names =
        Dir.entryList({"*.ttf", "*.otf", "*.ttc", "*.otc"}, QDir::Files | QDir::Readable,
                      QDir::Name | QDir::IgnoreCase);
    for (const QString& Name : Names) {
        const QString File = Dir.filePath(Name);
        // The family, weight and slant as the file itself names them: the file name is the
        // product's business, the family name is what its resources ask for.
        const QRawFont Raw(FontFileData(File), 12);
        if (!Raw.isValid() || Raw.familyName().isEmpty()) {
            continue;
        }
        FProductFonts->push_back({Raw.familyName(), File, Raw.weight() >= QFont::DemiBold,
                                  Raw.style() != QFont::StyleNormal});
    }
    return *FProductFonts;
}

std::optional<std::pair<QString, bool>> TTextMeasure::ProductFontFile(const QString& Family,
                                                                      bool Bold, bool Italic) {
    const TProductFont* Other = nullptr;
    for (const TProductFont& Font : ProductFonts()) {
        if (!SameFamily(Font.Family, Family)) {
            continue;
        }
        if (Font.Bold == Bold && Font.Italic == Italic) {
            return std::make_pair(Font.File, true);
        }
        // Of the other styles the plain one is the nearest, as the system would make the
        // missing style from it.
        if (!Other || (!Font.Bold && !Font.Italic)) {
            Other = &Font;
        }
    }
    if (Other) {
        return std::make_pair(Other->File, false);
    }
    return std::nullopt;
}

TTextMeasure::TFace& TTextMeasure::FaceOf(const TMyFont& Font) {
    // A document uses a few fonts: they are told apart by their fields, and the key (which
    // asks the face for its proportions) is built once for each.
    const int Style = Font.Style() & (fsBold | fsItalic);
    for (const TFontFace& Known : FFontFaces) {
        if (Known.Height == Font.Height() && Known.Style == Style && Known.Name == Font.Name()) {
            return *Known.Face;
        }
    }
    TFace& Face = FaceOfKey(Font);
    if (FFontFaces.size() >= 256) {
        FFontFaces.clear();
    }
    FFontFaces.push_back({Font.Name(), Font.Height(), Style, &Face});
    return Face;
}

TTextMeasure::TFace& TTextMeasure::FaceOfKey(const TMyFont& Font) {
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
    const std::optional<std::pair<QString, bool>> Product =
        ProductFontFile(QString::fromStdString(Requested), Bold, Italic);
    const TKnownPair* Pair = Product ? nullptr : KnownPairOf(Requested);
    QString File = Product ? Product->first : QString();
    if (Pair) {
        File = LiberationFile(*Pair, Bold, Italic);
    }
    if (!File.isEmpty()) {
        Face->Raw = QRawFont(FontFileData(File), Pixels, QFont::PreferFullHinting);
        Face->Info.File = File.toStdString();
    }
    if (!Face->Raw.isValid()) {
        Face->Info.File.clear();
        Face->Raw = QRawFont::fromFont(Face->Fallback);
    }
    const QString Used =
        Face->Raw.isValid() ? Face->Raw.familyName() : QFontInfo(Face->Fallback).family();
    Face->Info.Used = Used.toStdString();
    Face->Fallback.setFamily(Used);
    const bool Compatible = Pair && SameFamily(Used, QString::fromLatin1(Pair->Face));
    const bool OtherStyle = Product && !Product->second && !Face->Info.File.empty();
    Face->Info.Approximate =
        OtherStyle || (!Compatible && !SameFamily(Used, QString::fromStdString(Requested)));
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
    Face->Triggers = TriggersOf(Face->Raw);
    if (!Face->Triggers.empty()) {
        Face->Advances.assign(0x10000, UnknownAdvance);
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

int TTextMeasure::AdvanceOf(TFace& Face, char16_t C) const {
    std::int16_t& Advance = Face.Advances[C];
    if (Advance != UnknownAdvance) {
        return Advance;
    }
    Advance = LaidOutAdvance;
    if (!KeepsItsGlyph(C) || !Face.Raw.supportsCharacter(QChar(C))) {
        return Advance;
    }
    const QList<quint32> Glyph = Face.Raw.glyphIndexesForString(QString(QChar(C)));
    if (Glyph.size() != 1 || Glyph[0] == 0 || Glyph[0] >= Face.Triggers.size() ||
        Face.Triggers[Glyph[0]]) {
        return Advance;
    }
    const QList<QPointF> Advances = Face.Raw.advancesForGlyphIndexes(Glyph);
    // A hinted face advances by whole pixels; any other is laid out.
    if (Advances.size() == 1 && Advances[0].x() >= 0 && Advances[0].x() < 10000 &&
        Advances[0].x() == std::floor(Advances[0].x())) {
        Advance = static_cast<std::int16_t>(Advances[0].x());
    }
    return Advance;
}

std::optional<int> TTextMeasure::SummedWidth(TFace& Face, const QString& Text) const {
    if (Face.Triggers.empty()) {
        return std::nullopt;
    }
    int Width = 0;
    for (const QChar C : Text) {
        if (C == Tab) {
            Width += Face.TabAdvance;
            continue;
        }
        const int Advance = AdvanceOf(Face, C == SoftHyphen ? u'-' : C.unicode());
        if (Advance < 0) {
            return std::nullopt;
        }
        Width += Advance;
    }
    return Width;
}

TTextExtent TTextMeasure::MeasureText(const QString& Text, const TMyFont& Font) {
    TFace& Face = FaceOf(Font);
    if (FSummedWidths) {
        if (const std::optional<int> Width = SummedWidth(Face, Text)) {
            return {*Width, Face.Height, Face.Info.Approximate};
        }
    }
    const std::string Key = FaceKey(Font) + '\x1e' + Text.toStdString();
    auto Found = FTexts.find(Key);
    if (Found != FTexts.end()) {
        return Found->second;
    }
    const TLaidOutText Laid = LayOut(Text, Font);
    const TTextExtent Extent{Laid.Width(), Laid.Height(),
                             Face.Info.Approximate || Laid.MissingGlyphs()};
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
    FFontFaces.clear();
    FFaces.clear();
    FFontFiles.clear();
}

} // namespace kav
