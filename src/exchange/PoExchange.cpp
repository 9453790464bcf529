#include "exchange/PoExchange.h"

#include "document/Languages.h"
#include "document/ToolError.h"
#include "measure/ItemCheck.h"
#include "measure/RowFont.h"
#include "text/CodePage.h"

#include <QDateTime>
#include <QStringDecoder>

namespace kav {

namespace {

QString Q(std::string_view Text) {
    return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}

QString Quoted(const QString& Text) {
    QString Out = QStringLiteral("\"");
    for (const QChar C : Text) {
        switch (C.unicode()) {
        case u'\\':
            Out += QStringLiteral("\\\\");
            break;
        case u'"':
            Out += QStringLiteral("\\\"");
            break;
        case u'\t':
            Out += QStringLiteral("\\t");
            break;
        case u'\n':
            Out += QStringLiteral("\\n");
            break;
        case u'\r':
            Out += QStringLiteral("\\r");
            break;
        default:
            Out += C;
        }
    }
    return Out + u'"';
}

// "70 px" and "Arial, 8 pt, bold": what the translator must fit the text into.
QString WidthAndFont(const TItemView& Item) {
    const TRowFont Font = RowFontOf(Item);
    QString Text;
    if (const std::optional<int> Width = AllowedWidthOf(Item))
        Text += QStringLiteral("#. width: %1 px\n").arg(*Width);
    return Text + QStringLiteral("#. font: %1, %2 pt%3\n")
                      .arg(Q(Font.Name))
                      .arg(Font.Points)
                      .arg(Font.Bold.value_or(false) ? QStringLiteral(", bold") : QString());
}

QString Header(const TDocumentState& State) {
    const QString Name = Q(FileNamePart(State.FFileName));
    const QString Language = Q(LanguageTagOf(State.FLanguageCode)).replace(u'-', u'_');
    QString Text = QStringLiteral("# Translations of %1, exported by the Kavrino Translation "
                                  "Tool.\nmsgid \"\"\nmsgstr \"\"\n")
                       .arg(Name);
    for (const QString& Field :
         {QStringLiteral("Project-Id-Version: ") + Name,
          QStringLiteral("PO-Revision-Date: ") +
              QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm+0000")),
          QStringLiteral("Last-Translator: "), QStringLiteral("Language-Team: ") + Language,
          QStringLiteral("Language: ") + Language, QStringLiteral("MIME-Version: 1.0"),
          QStringLiteral("Content-Type: text/plain; charset=UTF-8"),
          QStringLiteral("Content-Transfer-Encoding: 8bit"),
          QStringLiteral("X-Generator: Kavrino Translation Tool")})
        Text += Quoted(Field + u'\n') + u'\n';
    return Text;
}

// ---- reading -------------------------------------------------------------------------------

struct TEntry {
    long long Line = 0;
    bool Obsolete = false;
    bool HasContext = false;
    bool Plural = false;
    QByteArray Context, Id, Str;
    std::vector<std::string> Locations;
};

class TPoParser {
public:
    explicit TPoParser(const QByteArray& Bytes) : FBytes(Bytes) {}

    TPoRead Read() {
        qsizetype At = 0;
        long long Line = 0;
        while (At <= FBytes.size() && FResult.Error.empty()) {
            qsizetype End = FBytes.indexOf('\n', At);
            if (End < 0)
                End = FBytes.size();
            QByteArray Text = FBytes.mid(At, End - At);
            if (Text.endsWith('\r'))
                Text.chop(1);
            ++Line;
            Take(Text.trimmed(), Line);
            At = End + 1;
        }
        if (FResult.Error.empty())
            Flush();
        if (!FResult.Error.empty())
            FResult.Texts.clear();
        return std::move(FResult);
    }

private:
    void Fail(const std::string& Why, long long Line) {
        if (FResult.Error.empty()) {
            FResult.Error = Why;
            FResult.ErrorLine = Line;
        }
    }

    void Take(const QByteArray& Text, long long Line) {
        if (Text.isEmpty())
            return;
        if (Text.startsWith("#~")) {
            // An obsolete entry: kept by the tools for later, no translation of the file.
            Begin(Line);
            FEntry.Obsolete = true;
            return;
        }
        if (Text.startsWith('#')) {
            if (FTarget)
                Flush();
            if (!FStarted)
                FEntry.Line = Line;
            FStarted = true;
            if (Text.startsWith("#:"))
                for (const QByteArray& Reference : Text.mid(2).simplified().split(' '))
                    if (!Reference.isEmpty())
                        FEntry.Locations.push_back(Reference.toStdString());
            return;
        }
        if (Text.startsWith('"')) {
            if (!FTarget)
                return Fail("a continued text without msgid or msgstr", Line);
            Append(*FTarget, Text, Line);
            return;
        }
        const qsizetype Space = Text.indexOf(' ');
        const QByteArray Keyword = Space < 0 ? Text : Text.left(Space);
        const QByteArray Rest = Space < 0 ? QByteArray() : Text.mid(Space + 1).trimmed();
        if (Keyword == "msgctxt") {
            Begin(Line);
            FEntry.HasContext = true;
            FTarget = &FEntry.Context;
        } else if (Keyword == "msgid") {
            if (!FEntry.HasContext || FTarget != &FEntry.Context)
                Begin(Line);
            FTarget = &FEntry.Id;
        } else if (Keyword == "msgid_plural") {
            FEntry.Plural = true;
            FTarget = &FPlural;
        } else if (Keyword == "msgstr" || Keyword == "msgstr[0]") {
            FTarget = &FEntry.Str;
        } else if (Keyword.startsWith("msgstr[")) {
            FTarget = &FPlural;
        } else {
            return Fail("\"" + Keyword.toStdString() + "\" is no PO keyword", Line);
        }
        FTarget->clear();
        Append(*FTarget, Rest, Line);
    }

    // A new entry starts: the one before ends, unless only its comments were read.
    void Begin(long long Line) {
        if (FTarget)
            Flush();
        if (!FStarted)
            FEntry.Line = Line;
        FStarted = true;
    }

    void Append(QByteArray& Target, const QByteArray& Quoted, long long Line) {
        if (Quoted.size() < 2 || !Quoted.startsWith('"') || !Quoted.endsWith('"'))
            return Fail("a text must be written in double quotes", Line);
        const QByteArray Body = Quoted.mid(1, Quoted.size() - 2);
        for (qsizetype i = 0; i < Body.size(); ++i) {
            char C = Body[i];
            if (C == '"')
                return Fail("a double quote inside a text must be written \\\"", Line);
            if (C != '\\') {
                Target += C;
                continue;
            }
            if (++i >= Body.size())
                return Fail("the text ends in a lone backslash", Line);
            switch (Body[i]) {
            case 'n':
                Target += '\n';
                break;
            case 't':
                Target += '\t';
                break;
            case 'r':
                Target += '\r';
                break;
            case 'a':
                Target += '\a';
                break;
            case 'b':
                Target += '\b';
                break;
            case 'f':
                Target += '\f';
                break;
            case 'v':
                Target += '\v';
                break;
            case '\\':
                Target += '\\';
                break;
            case '"':
                Target += '"';
                break;
            default:
                return Fail(std::string("unknown escape \\") + Body[i], Line);
            }
        }
    }

    void Flush() {
        if (FStarted && FTarget)
            Entry(FEntry);
        FEntry = TEntry();
        FPlural.clear();
        FTarget = nullptr;
        FStarted = false;
    }

    void Entry(const TEntry& E) {
        if (E.Obsolete)
            return;
        if (!E.HasContext && E.Id.isEmpty()) {
            Charset(E);
            return;
        }
        TNamedText Text;
        Text.Line = E.Line;
        if (E.HasContext)
            Text.Keys.push_back(QString::fromUtf8(E.Context).toStdString());
        Text.Keys.insert(Text.Keys.end(), E.Locations.begin(), E.Locations.end());
        if (Text.Keys.empty()) {
            FResult.Refused.push_back("line " + std::to_string(E.Line) +
                                      ": the entry names no item (no msgctxt)");
            return;
        }
        if (E.Plural) {
            FResult.Refused.push_back("line " + std::to_string(E.Line) + ", " + Text.Keys.front() +
                                      ": a language file holds no plural forms");
            return;
        }
        QStringDecoder Decode(FCharset.c_str(), QStringDecoder::Flag::Stateless);
        Text.Text = Decode(E.Str);
        if (Decode.hasError()) {
            FResult.Refused.push_back("line " + std::to_string(E.Line) + ", " + Text.Keys.front() +
                                      ": the text is not valid " + FCharset);
            return;
        }
        Text.HasText = !Text.Text.isEmpty();
        FResult.Texts.push_back(std::move(Text));
    }

    // The header names the encoding of the texts after it.
    void Charset(const TEntry& Header) {
        for (const QByteArray& Field : Header.Str.split('\n')) {
            if (!Field.toLower().startsWith("content-type:"))
                continue;
            const qsizetype At = Field.toLower().indexOf("charset=");
            if (At < 0)
                continue;
            const std::string Name = Field.mid(At + 8).trimmed().toStdString();
            // "CHARSET" is the placeholder of a template nobody filled in.
            if (Name == "CHARSET")
                continue;
            if (!QStringDecoder(Name.c_str()).isValid())
                return Fail("the file's character set " + Name +
                                " cannot be read; save it as UTF-8",
                            Header.Line);
            FCharset = Name;
        }
    }

    const QByteArray& FBytes;
    TPoRead FResult;
    TEntry FEntry;
    QByteArray FPlural;
    QByteArray* FTarget = nullptr;
    bool FStarted = false;
    std::string FCharset = "UTF-8";
};

} // namespace

QByteArray WritePo(const TDocumentState& State, const TItemTable& Items, const TPoExport& Options) {
    const int CodePage = TranslatedCodePage(State);
    const std::vector<std::string> Keys = ItemKeys(Items);
    QString Text = Header(State);
    for (TItemId Id = 0; Id < Items.Count(); ++Id) {
        const TItemView Item = Items.View(Id);
        const QString English =
            ExchangeText(Items, Id, Item.Default, SystemAnsiCodePage(), "English text");
        const QString Translation =
            ExchangeText(Items, Id, Item.Translation, CodePage, "translation");
        Text += u'\n';
        Text += QStringLiteral("#. item %1\n").arg(Q(Item.Number)) + WidthAndFont(Item);
        if (Options.Findings)
            for (const TFinding& F : Options.Findings(Id))
                Text += QStringLiteral("#. %1 %2: %3\n")
                            .arg(QString::fromLatin1(SeverityName(F.Severity)),
                                 QString::fromLatin1(KindName(F.Kind)), Q(F.Message));
        if (Options.EnglishChanged && Options.EnglishChanged(Id))
            Text += QStringLiteral("#, fuzzy\n");
        Text += QStringLiteral("msgctxt ") + Quoted(Q(Keys[static_cast<size_t>(Id)])) + u'\n';
        Text += QStringLiteral("msgid ") + Quoted(English) + u'\n';
        Text += QStringLiteral("msgstr ") +
                Quoted(ItemStateOf(Item) == TItemState::Translated ? Translation : QString()) +
                u'\n';
    }
    return Text.toUtf8();
}

TPoRead ReadPo(const QByteArray& Bytes) {
    return TPoParser(Bytes).Read();
}

std::string PoNameOf(const TDocumentState& State) {
    return ExchangeNameOf(State, ".po");
}

void ExportPoFile(const std::string& Path, const TDocumentState& State, const TItemTable& Items,
                  const TPoExport& Options) {
    WriteExchangeFile(Path, WritePo(State, Items, Options));
}

TExchangeImport ImportPoFile(const std::string& Path, TDocument& Doc, UserInterface& UI) {
    return ImportReadTexts(Path, ReadPo(ReadExchangeFile(Path)), "PO file", Doc, UI, "Import PO");
}

void AskAndExportPo(const TDocument& Doc, UserInterface& UI, const TPoExport& Options) {
    const std::optional<std::string> Path =
        UI.SaveDialog(Doc.State().FProgramDir, PoFilter, PoNameOf(Doc.State()));
    if (!Path)
        return;
    ExportPoFile(*Path, Doc.State(), Doc.Items(), Options);
    UI.MessageDlg("Wrote " + *Path + " (" + std::to_string(Doc.Items().Count()) + " entries).",
                  TMsgDlgType::mtInformation, mbOK);
}

void AskAndImportPo(TDocument& Doc, UserInterface& UI) {
    AskAndImportExchange(Doc, UI, PoFilter, [&Doc, &UI](const std::string& Path) {
        return ImportPoFile(Path, Doc, UI);
    });
}

std::function<bool(TItemId)> EnglishChangedIn(const TDocument& Doc) {
    return [&Doc](TItemId Id) {
        return Doc.Baseline().ChangeOf(Doc.Items(), Id) != TSourceChange::None;
    };
}

} // namespace kav
