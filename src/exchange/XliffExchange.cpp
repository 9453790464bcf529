#include "exchange/XliffExchange.h"

#include "document/Languages.h"
#include "document/ToolError.h"
#include "grid/Colors.h"
#include "measure/ItemCheck.h"
#include "measure/RowFont.h"
#include "text/CodePage.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace kav {

namespace {

constexpr const char* XliffNamespace = "urn:oasis:names:tc:xliff:document:1.2";
// The unit Translate Toolkit's po2xliff makes of a PO file's header: no item.
constexpr const char* PoHeaderType = "x-gettext-domain-header";

QString Q(std::string_view Text) {
    return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}

// "Arial;8;bold": the form Weblate's length check reads.
QString FontAttribute(const TItemView& Item) {
    const TRowFont Font = RowFontOf(Item);
    return QStringLiteral("%1;%2;%3")
        .arg(Q(Font.Name))
        .arg(Font.Points)
        .arg(Font.Bold.value_or(false) ? QStringLiteral("bold") : QStringLiteral("normal"));
}

const char* NotePriority(TSeverity Severity) {
    switch (Severity) {
    case TSeverity::Error:
        return "1";
    case TSeverity::Warning:
        return "3";
    case TSeverity::Info:
        break;
    }
    return "5";
}

bool HasError(const std::vector<TFinding>& Findings) {
    for (const TFinding& F : Findings)
        if (F.Severity == TSeverity::Error)
            return true;
    return false;
}

void WriteUnit(QXmlStreamWriter& W, const TItemTable& Items, TItemId Id, const std::string& Key,
               int CodePage, const std::vector<TFinding>& Findings) {
    const TItemView Item = Items.View(Id);
    const TItemState State = ItemStateOf(Item);
    const QString English =
        ExchangeText(Items, Id, Item.Default, SystemAnsiCodePage(), "English text");
    const QString Translation = ExchangeText(Items, Id, Item.Translation, CodePage, "translation");
    W.writeStartElement(QStringLiteral("trans-unit"));
    W.writeAttribute(QStringLiteral("id"), Q(Key));
    W.writeAttribute(QStringLiteral("resname"), Q(ConstantNameOf(Items, Id)));
    if (const std::optional<int> Width = AllowedWidthOf(Item)) {
        W.writeAttribute(QStringLiteral("maxwidth"), QString::number(*Width));
        W.writeAttribute(QStringLiteral("size-unit"), QStringLiteral("pixel"));
    }
    W.writeAttribute(QStringLiteral("font"), FontAttribute(Item));
    W.writeAttribute(
        QStringLiteral("extradata"),
        QStringLiteral("item=%1;colour=%2")
            .arg(Q(Item.Number))
            .arg(Q(ColorToIdent(Items.Colour(Id)).empty() ? std::to_string(Items.Colour(Id))
                                                          : ColorToIdent(Items.Colour(Id)))));
    const bool Error = HasError(Findings);
    if (State == TItemState::Translated && !Error)
        W.writeAttribute(QStringLiteral("approved"), QStringLiteral("yes"));
    W.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    W.writeTextElement(QStringLiteral("source"), English);
    if (State != TItemState::Empty) {
        W.writeStartElement(QStringLiteral("target"));
        W.writeAttribute(QStringLiteral("state"),
                         State == TItemState::Untranslated ? QStringLiteral("needs-translation")
                         : Error ? QStringLiteral("needs-review-translation")
                                 : QStringLiteral("translated"));
        W.writeCharacters(Translation);
        W.writeEndElement();
    }
    for (const TFinding& F : Findings) {
        W.writeStartElement(QStringLiteral("note"));
        W.writeAttribute(QStringLiteral("from"), QStringLiteral("kavtool"));
        W.writeAttribute(QStringLiteral("priority"), QString::fromLatin1(NotePriority(F.Severity)));
        W.writeCharacters(QStringLiteral("%1 %2: %3")
                              .arg(QString::fromLatin1(SeverityName(F.Severity)),
                                   QString::fromLatin1(KindName(F.Kind)), Q(F.Message)));
        W.writeEndElement();
    }
    W.writeEndElement();
}

// One <trans-unit> as read: the keys it may go under, most particular first.
struct TUnit {
    TNamedText Text;
    std::string Id, ResName, Location;
    bool Header = false;
};

std::vector<std::string> KeysOf(const TUnit& Unit) {
    std::vector<std::string> Keys;
    for (const std::string* Key : {&Unit.Id, &Unit.ResName, &Unit.Location})
        if (!Key->empty())
            Keys.push_back(*Key);
    return Keys;
}

class TXliffReader {
public:
    TXliffReader(const QByteArray& Bytes, const std::string& TargetTag)
        : R(Bytes), FTargetTag(TargetTag) {}

    TXliffRead Read() {
        if (Prolog()) {
            if (R.name() != QLatin1String("xliff"))
                R.raiseError(QStringLiteral("the file is not XLIFF: its root element is <%1>")
                                 .arg(R.name()));
            else
                Elements();
        }
        if (!R.hasError() && !FSeenRoot)
            R.raiseError(QStringLiteral("the file holds no XLIFF document"));
        if (R.hasError()) {
            FResult.Error = R.errorString().toStdString();
            if (!FResult.Error.empty() && FResult.Error.back() == '.')
                FResult.Error.pop_back();
            FResult.ErrorLine = R.lineNumber();
        }
        return std::move(FResult);
    }

private:
    // Up to the root element. An external entity would be left out of the texts unseen (it is
    // never fetched): such a file is refused.
    bool Prolog() {
        while (!R.atEnd()) {
            const QXmlStreamReader::TokenType Token = R.readNext();
            if (Token == QXmlStreamReader::StartElement)
                return true;
            if (Token != QXmlStreamReader::DTD)
                continue;
            for (const QXmlStreamEntityDeclaration& Entity : R.entityDeclarations())
                if (!Entity.systemId().isEmpty() || !Entity.publicId().isEmpty())
                    R.raiseError(QStringLiteral("the file declares the external entity %1, "
                                                "which is never read")
                                     .arg(Entity.name()));
        }
        return false;
    }

    // Everything below <xliff>: files, groups, units; other elements (headers, tools' own
    // additions) are passed over.
    void Elements() {
        FSeenRoot = true;
        while (R.readNextStartElement()) {
            if (R.name() == QLatin1String("file"))
                File();
            else if (R.name() == QLatin1String("trans-unit"))
                Unit();
            else if (R.name() == QLatin1String("body") || R.name() == QLatin1String("group"))
                Elements();
            else
                R.skipCurrentElement();
        }
    }

    void File() {
        const std::string Tag =
            R.attributes().value(QLatin1String("target-language")).toString().toStdString();
        FFileRefusal.clear();
        if (!Tag.empty() && !FTargetTag.empty() && !SameLanguage(Tag, FTargetTag))
            FFileRefusal =
                "the file's target language is " + Tag + ", the document's " + FTargetTag;
        Elements();
        FFileRefusal.clear();
    }

    void Unit() {
        TUnit U;
        U.Text.Line = R.lineNumber();
        U.Id = R.attributes().value(QLatin1String("id")).toString().toStdString();
        U.ResName = R.attributes().value(QLatin1String("resname")).toString().toStdString();
        U.Header = R.attributes().value(QLatin1String("restype")) == QLatin1String(PoHeaderType);
        U.Text.HasText = false;
        while (R.readNextStartElement()) {
            if (R.name() == QLatin1String("target")) {
                // <mrk>, <g> and the like inside a target hold parts of its text.
                U.Text.Text = R.readElementText(QXmlStreamReader::IncludeChildElements);
                U.Text.HasText = !U.Text.Text.isEmpty();
            } else if (R.name() == QLatin1String("context-group")) {
                Contexts(U);
            } else {
                // <source>, <note>, <alt-trans> (whose targets are only proposals) ...
                R.skipCurrentElement();
            }
        }
        if (R.hasError() || U.Header)
            return;
        U.Text.Keys = KeysOf(U);
        if (U.Text.Keys.empty()) {
            FResult.Refused.push_back("line " + std::to_string(U.Text.Line) +
                                      ": the unit has no id");
        } else if (!FFileRefusal.empty()) {
            FResult.Refused.push_back("line " + std::to_string(U.Text.Line) + ", " +
                                      U.Text.Keys.front() + ": " + FFileRefusal);
        } else {
            FResult.Texts.push_back(std::move(U.Text));
        }
    }

    // Translate Toolkit keeps the name a unit came from as its location when it goes through
    // PO ("po-reference", "sourcefile").
    void Contexts(TUnit& U) {
        const bool Location =
            R.attributes().value(QLatin1String("purpose")) == QLatin1String("location");
        while (R.readNextStartElement()) {
            const bool Source =
                R.name() == QLatin1String("context") &&
                R.attributes().value(QLatin1String("context-type")) == QLatin1String("sourcefile");
            const QString Text = R.readElementText(QXmlStreamReader::IncludeChildElements);
            if (Location && Source && U.Location.empty())
                U.Location = Text.trimmed().toStdString();
        }
    }

    QXmlStreamReader R;
    std::string FTargetTag;
    std::string FFileRefusal;
    bool FSeenRoot = false;
    TXliffRead FResult;
};

} // namespace

QByteArray WriteXliff(const TDocumentState& State, const TItemTable& Items,
                      const TItemFindings& Findings) {
    QByteArray Bytes;
    QXmlStreamWriter W(&Bytes);
    W.setAutoFormatting(true);
    W.setAutoFormattingIndent(1);
    W.writeStartDocument();
    W.writeStartElement(QStringLiteral("xliff"));
    W.writeDefaultNamespace(QString::fromLatin1(XliffNamespace));
    W.writeAttribute(QStringLiteral("version"), QStringLiteral("1.2"));
    W.writeStartElement(QStringLiteral("file"));
    W.writeAttribute(QStringLiteral("original"), Q(FileNamePart(State.FFileName)));
    W.writeAttribute(QStringLiteral("source-language"), QStringLiteral("en-US"));
    const std::string Tag = LanguageTagOf(State.FLanguageCode);
    if (!Tag.empty())
        W.writeAttribute(QStringLiteral("target-language"), Q(Tag));
    W.writeAttribute(QStringLiteral("datatype"), QStringLiteral("plaintext"));
    W.writeStartElement(QStringLiteral("header"));
    W.writeEmptyElement(QStringLiteral("tool"));
    W.writeAttribute(QStringLiteral("tool-id"), QStringLiteral("kavtool"));
    W.writeAttribute(QStringLiteral("tool-name"), QStringLiteral("Kavrino Translation Tool"));
    W.writeEndElement();
    W.writeStartElement(QStringLiteral("body"));
    const int CodePage = TranslatedCodePage(State);
    const std::vector<std::string> Keys = ItemKeys(Items);
    for (TItemId Id = 0; Id < Items.Count(); ++Id)
        WriteUnit(W, Items, Id, Keys[static_cast<size_t>(Id)], CodePage,
                  Findings ? Findings(Id) : std::vector<TFinding>{});
    W.writeEndDocument();
    return Bytes;
}

TXliffRead ReadXliff(const QByteArray& Bytes, const std::string& TargetTag) {
    return TXliffReader(Bytes, TargetTag).Read();
}

std::string XliffNameOf(const TDocumentState& State) {
    return ExchangeNameOf(State, ".xlf");
}

void ExportXliffFile(const std::string& Path, const TDocumentState& State, const TItemTable& Items,
                     const TItemFindings& Findings) {
    WriteExchangeFile(Path, WriteXliff(State, Items, Findings));
}

TExchangeImport ImportXliffFile(const std::string& Path, TDocument& Doc, UserInterface& UI) {
    return ImportReadTexts(
        Path, ReadXliff(ReadExchangeFile(Path), LanguageTagOf(Doc.State().FLanguageCode)), "XLIFF",
        Doc, UI, "Import XLIFF");
}

void AskAndExportXliff(const TDocument& Doc, UserInterface& UI, const TItemFindings& Findings) {
    const std::optional<std::string> Path =
        UI.SaveDialog(Doc.State().FProgramDir, XliffFilter, XliffNameOf(Doc.State()));
    if (!Path)
        return;
    ExportXliffFile(*Path, Doc.State(), Doc.Items(), Findings);
    UI.MessageDlg("Wrote " + *Path + " (" + std::to_string(Doc.Items().Count()) + " units).",
                  TMsgDlgType::mtInformation, mbOK);
}

void AskAndImportXliff(TDocument& Doc, UserInterface& UI) {
    AskAndImportExchange(Doc, UI, XliffFilter, [&Doc, &UI](const std::string& Path) {
        return ImportXliffFile(Path, Doc, UI);
    });
}

} // namespace kav
