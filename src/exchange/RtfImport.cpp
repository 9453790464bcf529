#include "exchange/RtfImport.h"

#include "document/Languages.h"
#include "document/ToolError.h"
#include "document/TranslationTable.h"
#include "exchange/ExchangeFiles.h"
#include "exchange/RtfExport.h"
#include "exchange/RtfReader.h"
#include "text/CodePage.h"
#include "text/IntConv.h"
#include "text/StringUtils.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace kav {

namespace {

// The tool's trimming set (codes 0 to 32) and every other Unicode blank: word processors
// write no-break and narrow spaces where the export wrote plain blanks.
bool IsBlank(QChar C) {
    return C.unicode() <= 32 || C.isSpace();
}

QString TrimLow(const QString& Text) {
    qsizetype First = 0, Last = Text.size();
    while (First < Last && IsBlank(Text[First]))
        ++First;
    while (Last > First && IsBlank(Text[Last - 1]))
        --Last;
    return Text.mid(First, Last - First);
}

bool IsNumber(const QString& Text) {
    if (Text.isEmpty())
        return false;
    for (QChar C : Text)
        if (C < u'0' || C > u'9')
            return false;
    return true;
}

// The value of a digit string; -1 when it is beyond what an item number can be.
long long NumberValue(const QString& Digits) {
    long long Value = 0;
    for (QChar C : Digits) {
        Value = Value * 10 + (C.unicode() - u'0');
        if (Value > INT32_MAX)
            return -1;
    }
    return Value;
}

QString FirstField(const QString& Line) {
    const qsizetype Tab = Line.indexOf(u'\t');
    return Tab < 0 ? Line : Line.left(Tab);
}

bool StartsItem(const QString& Line) {
    return !Line.isEmpty() && IsNumber(TrimLow(FirstField(Line)));
}

// True when the item that reaches line Index ends there.
bool NextLineStartsItem(const std::vector<QString>& Lines, size_t Index) {
    return Index + 1 >= Lines.size() || StartsItem(Lines[Index + 1]);
}

// Every field that is not a number, trimmed and followed by a blank; an empty field is not a
// number, so it adds a lone blank.
QString ItemText(const std::vector<QString>& Lines, size_t First, size_t Last) {
    QString Text;
    for (size_t k = First; k <= Last; ++k) {
        if (Lines[k].isEmpty())
            continue;
        for (const QString& Field : Lines[k].split(u'\t')) {
            const QString Trimmed = TrimLow(Field);
            if (!IsNumber(Trimmed))
                Text += Trimmed + u' ';
        }
    }
    return Text;
}

// Why the language file cannot hold the text of lines First to Last; empty when it can. Looked
// for in the lines as read: trimming would drop such a character at a field's end unseen.
std::string UnstorableReason(const std::vector<QString>& Lines, size_t First, size_t Last) {
    for (size_t k = First; k <= Last; ++k) {
        for (QChar C : Lines[k]) {
            if (C.unicode() == 0)
                return "The text holds a NUL character (code 0), which a language file cannot "
                       "hold.";
            if (C.unicode() == 26)
                return "The text holds the end-of-file character (code 26), which a language file "
                       "cannot hold.";
            if (C == u'"')
                return "The text holds a double quote, which a language file cannot hold.";
        }
    }
    return {};
}

// The export names its documents Base + "_ENU.rtf", Base + "_" + code + ".rtf" and Base +
// "_ENU_To_" + code + ".rtf": the refusal of the English one names the other two.
std::string EnglishDocumentMessage(const std::string& Path, const std::string& LanguageCode) {
    QString Base = QFileInfo(QString::fromStdString(Path)).completeBaseName();
    if (Base.endsWith(QStringLiteral("_ENU"), Qt::CaseInsensitive))
        Base.chop(4);
    std::string Code = UpperCase(LanguageCode.substr(0, 3));
    if (Code.empty())
        Code = "LANG";
    const std::string Name = Base.toStdString();
    return Path +
           " is the English document of the RTF export: it holds no translations, and nothing "
           "was imported. Load the translation document " +
           Name + "_" + Code + ".rtf or the bilingual document " + Name + "_ENU_To_" + Code +
           ".rtf instead.";
}

// The item numbered Number when its shown number agrees, else NoItem.
TItemId ItemNumbered(const TItemTable& Items, long long Number) {
    if (Number < 1 || Number > Items.Count())
        return NoItem;
    const TItemId Id = static_cast<TItemId>(Number - 1);
    const std::string_view Shown = Items.View(Id).Number;
    if (!IsDigits(Shown) || NumberValue(QString::fromLatin1(
                                Shown.data(), static_cast<qsizetype>(Shown.size()))) != Number)
        return NoItem;
    return Id;
}

void PutItem(TDocumentEdit& Edit, TItemId Id, long long Number, const QString& Text, int CodePage,
             TImportReport& Report) {
    ++Report.Taken;
    const EncodeResult Encoded = EncodeText(Text, CodePage);
    if (!Encoded.Ok()) {
        Report.Refused.push_back("Item " + std::to_string(Number) + ": " +
                                 UnrepresentableMessage(Encoded, CodePage).toStdString());
        return;
    }
    if (Edit.Items().Translation(Id) == *Encoded.Bytes)
        return;
    Edit.SetTranslation(Id, *Encoded.Bytes);
    ++Report.Changed;
}

// An item the fill writes: one with a name.
bool IsFilledItem(const TItemTable& Items, TItemId Id) {
    return !TrimCharSet(Items.Name(Id), TrimChars()).empty();
}

} // namespace

std::string ItemNumberText(long long Number, int ItemCount) {
    const size_t Width =
        std::max({size_t(5), std::to_string(ItemCount).size(), std::to_string(Number).size()});
    return ZeroPad(Number, static_cast<int>(Width));
}

std::string LastItemText(const TStyledGridModel& Grid) {
    return ItemNumberText(ItemCount(Grid), ItemCount(Grid));
}

std::string ItemRangeMask(int ItemCount) {
    return std::string(ItemNumberText(ItemCount, ItemCount).size(), '0') + ";#";
}

TRtfDocumentKind RtfDocumentKindOf(const std::vector<QString>& Lines) {
    const QString English = QString::fromLatin1(EnglishLanguageLine);
    // Word processors may turn the heading's blanks into other blanks.
    for (size_t i = 0; i < Lines.size() && (i == 0 || !StartsItem(Lines[i])); ++i) {
        const qsizetype Tab = Lines[i].indexOf(u'\t');
        if (Tab < 0 || TrimLow(Lines[i].left(Tab)) != QStringLiteral("Item"))
            continue;
        const QString Language = Lines[i].mid(Tab + 1).simplified();
        if (Language == English)
            return TRtfDocumentKind::English;
        if (Language.startsWith(English + QStringLiteral(" <->")))
            return TRtfDocumentKind::Bilingual;
        return TRtfDocumentKind::Translation;
    }
    return TRtfDocumentKind::Translation;
}

void ReportRefused(const std::vector<std::string>& Refused, UserInterface& UI) {
    if (Refused.empty())
        return;
    UI.MessageDlg("These items were not imported and keep their text:" + ListedLines(UI, Refused),
                  TMsgDlgType::mtWarning, mbOK);
}

std::optional<TItemRange> CheckImportRange(const TImportRange& Range, UserInterface& UI) {
    TItemRange Result;
    for (const auto& [Text, Value] :
         {std::pair{&Range.From, &Result.From}, std::pair{&Range.To, &Result.To}}) {
        if (!TryStrToInt(*Text, *Value)) {
            UI.Beep();
            UI.MessageDlg(InvalidIntegerMessage(*Text) + "\nNothing was imported.",
                          TMsgDlgType::mtWarning, mbOK);
            return std::nullopt;
        }
    }
    return Result;
}

TImportReport FillFromLines(const std::vector<QString>& Lines, TDocumentEdit& Edit, int CodePage,
                            TItemRange Range, TProgress* Progress) {
    TImportReport Report;
    const TRtfDocumentKind Kind = RtfDocumentKindOf(Lines);
    if (Kind == TRtfDocumentKind::English)
        return Report;
    const size_t n = Lines.size();
    size_t i = 0;
    while (i + 1 < n) {
        ++i;
        if (Progress)
            Progress->Step(i);
        if (!StartsItem(Lines[i]))
            continue;
        const long long Number = NumberValue(TrimLow(FirstField(Lines[i])));
        size_t j = i;
        while (!NextLineStartsItem(Lines, j))
            ++j;
        // The bilingual document gives the English text on the item's first line.
        const size_t First = Kind == TRtfDocumentKind::Bilingual ? i + 1 : i;
        // Tested after trimming: the export writes a blank after every text, so an empty
        // translation comes back as a lone blank and must not empty the cell.
        const QString Text = TrimLow(ItemText(Lines, First, j));
        const std::string Unstorable = UnstorableReason(Lines, First, j);
        i = j;
        if (Number < 0)
            continue;
        const TItemId Id = ItemNumbered(Edit.Items(), Number);
        if (Id == NoItem || Range.From > Number || Range.To < Number)
            continue;
        if (!Unstorable.empty()) {
            ++Report.Taken;
            Report.Refused.push_back("Item " + std::to_string(Number) + ": " + Unstorable);
            continue;
        }
        if (Text.isEmpty()) {
            ++Report.Skipped;
            continue;
        }
        PutItem(Edit, Id, Number, Text, CodePage, Report);
    }
    return Report;
}

TImportReport ImportRtfFile(const std::string& Path, TDocument& Doc, UserInterface& UI,
                            TItemRange Range) {
    const int CodePage = TranslatedCodePage(Doc.State());
    // Read whole, and bounded as every exchange file is: the import holds the whole text.
    const QByteArray Bytes = ReadExchangeFile(Path);
    const TRtfText Document =
        ReadRtf(std::string_view(Bytes.constData(), static_cast<size_t>(Bytes.size())), CodePage,
                {}, CodePage);
    if (!Document.Ok())
        throw ToolError(LocatedMessage(Document.Error, Path, 0));
    if (RtfDocumentKindOf(Document.Lines) == TRtfDocumentKind::English)
        throw ToolError(EnglishDocumentMessage(Path, Doc.State().FLanguageCode));
    TUpdateLock Lock(UI);
    TDocumentEdit Edit(Doc, {});
    Edit.NameBy([](const TDocumentStep& Step) {
        return CountedStepName("Load from RTF file", Step.TranslationsChanged());
    });
    TProgress Progress(UI, Document.Lines.size());
    return FillFromLines(Document.Lines, Edit, CodePage, Range, &Progress);
}

std::string ImportSummary(const std::string& Path, const TImportReport& Report,
                          const UserInterface& UI) {
    const size_t Refused = Report.Refused.size();
    const size_t Unchanged = static_cast<size_t>(Report.Taken - Report.Changed) - Refused;
    std::string Text = "Loaded " + Path + ":\n" + std::to_string(Report.Changed) +
                       " items imported, " + std::to_string(Unchanged) +
                       " unchanged (the same text), " + std::to_string(Report.Skipped) +
                       " skipped (empty or only digits), " + std::to_string(Refused) + " refused.";
    if (Refused > 0)
        Text += "\nThese items were not imported and keep their text:" +
                ListedLines(UI, Report.Refused);
    return Text;
}

void AskAndImportRtf(TDocument& Doc, UserInterface& UI, const TImportRange& Range) {
    const std::optional<TItemRange> Items = CheckImportRange(Range, UI);
    if (!Items)
        return;
    const std::optional<std::string> Path =
        UI.OpenDialog(Doc.State().FProgramDir + "RTF/", RtfFilter);
    if (!Path)
        return;
    TImportReport Report;
    {
        TPleaseWait Wait(UI, "Loading " + FileNamePart(*Path));
        Report = ImportRtfFile(*Path, Doc, UI, *Items);
    }
    UI.MessageDlg(ImportSummary(*Path, Report, UI),
                  Report.Refused.empty() ? TMsgDlgType::mtInformation : TMsgDlgType::mtWarning,
                  mbOK);
}

int ConfirmAndFillTranslations(TDocument& Doc, UserInterface& UI, const std::string& FillText) {
    int Items = 0;
    for (TItemId Id = 0; Id < Doc.Items().Count(); ++Id)
        Items += IsFilledItem(Doc.Items(), Id) ? 1 : 0;
    const std::string Question =
        "Fill all " + std::to_string(Items) + " translations with '" + FillText + "'?";
    if (UI.MessageDlg(Question, TMsgDlgType::mtConfirmation, mbYes | mbNo) != TModalResult::mrYes)
        return 0;
    return FillTranslations(Doc, UI, FillText);
}

int FillTranslations(TDocument& Doc, UserInterface& UI, const std::string& FillText) {
    const int CodePage = TranslatedCodePage(Doc.State());
    const EncodeResult Encoded = EncodeText(QString::fromStdString(FillText), CodePage);
    if (!Encoded.Ok()) {
        UI.Beep();
        UI.MessageDlg(UnrepresentableMessage(Encoded, CodePage).toStdString() +
                          "\nNo translation was changed.",
                      TMsgDlgType::mtWarning, mbOK);
        return 0;
    }
    TUpdateLock Lock(UI);
    TDocumentEdit Edit(Doc, {});
    Edit.NameBy([&FillText](const TDocumentStep& Step) {
        return CountedStepName("Fill with '" + FillText + "'", Step.TranslationsChanged());
    });
    for (TItemId Id = 0; Id < Doc.Items().Count(); ++Id)
        if (IsFilledItem(Doc.Items(), Id))
            Edit.SetTranslation(Id, *Encoded.Bytes);
    return Edit.Commit();
}

} // namespace kav
