#include "exchange/NamedTranslations.h"

#include "document/Languages.h"
#include "document/ToolError.h"
#include "platform/Locales.h"
#include "text/CodePage.h"

#include <QLocale>
#include <QStringList>

#include <map>
#include <unordered_map>

namespace kav {

namespace {

// Lower case without diacritics: the locale table writes "Bokmål" where Qt writes "Bokmal".
QString Folded(const QString& Name) {
    QString Folded;
    for (const QChar C : Name.normalized(QString::NormalizationForm_D))
        if (C.category() != QChar::Mark_NonSpacing)
            Folded += C.toLower();
    return Folded;
}

template <typename TEnum> std::map<QString, TEnum> NamesOf(TEnum Last, QString (*Name)(TEnum)) {
    std::map<QString, TEnum> Names;
    for (int Value = 1; Value <= static_cast<int>(Last); ++Value)
        Names.emplace(Folded(Name(static_cast<TEnum>(Value))), static_cast<TEnum>(Value));
    return Names;
}

std::optional<QLocale::Language> LanguageNamed(const QString& Name) {
    static const auto Names = NamesOf(QLocale::LastLanguage, &QLocale::languageToString);
    // "Norwegian, Bokmål" is known to Qt as "Norwegian Bokmål", else as "Norwegian".
    for (const QString& Candidate :
         {QString(Name).remove(u','), Name, Name.section(u',', 0, 0).trimmed()}) {
        const auto Found = Names.find(Folded(Candidate));
        if (Found != Names.end())
            return Found->second;
    }
    return std::nullopt;
}

std::optional<QLocale::Territory> TerritoryNamed(const QString& Qualifiers) {
    static const auto Names = NamesOf(QLocale::LastTerritory, &QLocale::territoryToString);
    // "Traditional, Taiwan", "Spain, International Sort": one of the pieces is the territory.
    const QStringList Pieces = Qualifiers.split(u',');
    for (auto Piece = Pieces.rbegin(); Piece != Pieces.rend(); ++Piece) {
        const auto Found = Names.find(Folded(Piece->trimmed()));
        if (Found != Names.end())
            return Found->second;
    }
    return std::nullopt;
}

QString PrimarySubtag(const std::string& Tag) {
    return QString::fromStdString(Tag).replace(u'_', u'-').section(u'-', 0, 0).toLower();
}

std::string Refusal(const TNamedText& Text, const std::string& Why) {
    return "line " + std::to_string(Text.Line) + ", " +
           (Text.Keys.empty() ? std::string("(no name)") : Text.Keys.front()) + ": " + Why;
}

// Why the language file cannot hold Text; empty when it can.
std::string UnstorableReason(const QString& Text) {
    const QChar C = RefusedInItemText(Text, TItemField::Translation);
    if (C.isNull())
        return {};
    switch (C.unicode()) {
    case u'"':
        return "the text holds a double quote, which a language file cannot hold";
    case u'\r':
    case u'\n':
        return "the text holds a line break, which a language file cannot hold";
    case 26:
        return "the text holds the end-of-file character (code 26), which a language file "
               "cannot hold";
    default:
        return "the text holds a NUL character (code 0), which a language file cannot hold";
    }
}

// The first character XML 1.0 and PO cannot hold, or the null character.
QChar ControlCharacterIn(const QString& Text) {
    for (const QChar C : Text) {
        const char16_t U = C.unicode();
        if ((U < 0x20 && U != u'\t' && U != u'\n' && U != u'\r') || U == 0xFFFE || U == 0xFFFF)
            return C;
    }
    return {};
}

} // namespace

QString ExchangeText(const TItemTable& Items, TItemId Id, std::string_view Bytes, int CodePage,
                     const char* What) {
    const QString Text = DecodeBytes(Bytes, CodePage);
    const QChar C = ControlCharacterIn(Text);
    if (!C.isNull())
        throw ToolError(
            Items.Caption(Id) + " (" + ConstantNameOf(Items, Id) + "): its " + What +
            " holds the control character U+" +
            QStringLiteral("%1").arg(C.unicode(), 4, 16, QChar(u'0')).toUpper().toStdString() +
            ", which XLIFF and PO files cannot hold. Nothing was exported.");
    return Text;
}

std::string LanguageTagOf(const std::string& Code) {
    const LocaleInfo* Locale = FindLocaleByAbbreviation(Code);
    if (!Locale)
        return {};
    const QString Name =
        QString::fromUtf8(Locale->Name.data(), static_cast<qsizetype>(Locale->Name.size()));
    const qsizetype Open = Name.indexOf(u'(');
    const QString Language = (Open < 0 ? Name : Name.left(Open)).trimmed();
    const std::optional<QLocale::Language> L = LanguageNamed(Language);
    if (!L)
        return {};
    QString Tag = QLocale::languageToCode(*L, QLocale::ISO639Part1);
    if (Tag.isEmpty())
        Tag = QLocale::languageToCode(*L);
    if (Open >= 0) {
        const QString Qualifiers = Name.mid(Open + 1).chopped(Name.endsWith(u')') ? 1 : 0);
        if (const std::optional<QLocale::Territory> T = TerritoryNamed(Qualifiers))
            Tag += u'-' + QLocale::territoryToCode(*T);
    }
    return Tag.toStdString();
}

bool SameLanguage(const std::string& Tag, const std::string& Other) {
    return PrimarySubtag(Tag) == PrimarySubtag(Other);
}

std::string ConstantNameOf(const TItemTable& Items, TItemId Id) {
    return "Txt_" + std::string(Items.Name(Id));
}

std::vector<std::string> ItemKeys(const TItemTable& Items) {
    std::vector<std::string> Keys;
    Keys.reserve(static_cast<size_t>(Items.Count()));
    std::unordered_map<std::string, int> Seen;
    for (TItemId Id = 0; Id < Items.Count(); ++Id) {
        const std::string Name = ConstantNameOf(Items, Id);
        const int Count = ++Seen[Name];
        Keys.push_back(Count == 1 ? Name : Name + "#" + std::to_string(Count));
    }
    return Keys;
}

TExchangeImport ImportNamedTexts(const std::vector<TNamedText>& Texts, TDocument& Doc,
                                 UserInterface& UI, const std::string& StepName) {
    TExchangeImport Report;
    const int CodePage = TranslatedCodePage(Doc.State());
    std::unordered_map<std::string, TItemId> ItemOfKey;
    {
        const std::vector<std::string> Keys = ItemKeys(Doc.Items());
        for (size_t i = 0; i < Keys.size(); ++i)
            ItemOfKey.emplace(Keys[i], static_cast<TItemId>(i));
    }
    std::unordered_map<TItemId, long long> Taken;
    TUpdateLock Lock(UI);
    TDocumentEdit Edit(Doc, {});
    Edit.NameBy([&StepName](const TDocumentStep& Step) {
        return CountedStepName(StepName, Step.TranslationsChanged());
    });
    TProgress Progress(UI, Texts.size());
    for (size_t i = 0; i < Texts.size(); ++i) {
        Progress.Step(i);
        const TNamedText& Text = Texts[i];
        auto Found = ItemOfKey.end();
        for (const std::string& Key : Text.Keys)
            if (Found == ItemOfKey.end())
                Found = ItemOfKey.find(Key);
        if (Found == ItemOfKey.end()) {
            Report.Refused.push_back(Refusal(Text, "no item of the document has this name"));
            continue;
        }
        ++Report.Units;
        const TItemId Id = Found->second;
        if (const auto Earlier = Taken.find(Id); Earlier != Taken.end()) {
            Report.Refused.push_back(Refusal(Text, "the item was given already at line " +
                                                       std::to_string(Earlier->second)));
            continue;
        }
        Taken.emplace(Id, Text.Line);
        if (!Text.HasText) {
            ++Report.Skipped;
            continue;
        }
        if (const std::string Why = UnstorableReason(Text.Text); !Why.empty()) {
            Report.Refused.push_back(Refusal(Text, Why));
            continue;
        }
        const EncodeResult Encoded = EncodeText(Text.Text, CodePage);
        if (!Encoded.Ok()) {
            Report.Refused.push_back(
                Refusal(Text, UnrepresentableMessage(Encoded, CodePage).toStdString()));
            continue;
        }
        if (Edit.Items().Translation(Id) == *Encoded.Bytes) {
            ++Report.Unchanged;
            continue;
        }
        Edit.SetTranslation(Id, *Encoded.Bytes);
        ++Report.Imported;
    }
    Edit.Commit();
    return Report;
}

TExchangeImport ImportReadTexts(const std::string& Path, const TNamedTexts& Read,
                                const std::string& Format, TDocument& Doc, UserInterface& UI,
                                const std::string& StepName) {
    if (!Read.Error.empty())
        throw ToolError(LocatedMessage("The file is no readable " + Format + ": " + Read.Error +
                                           ". Nothing was imported.",
                                       Path, Read.ErrorLine));
    TExchangeImport Report = ImportNamedTexts(Read.Texts, Doc, UI, StepName);
    Report.Refused.insert(Report.Refused.begin(), Read.Refused.begin(), Read.Refused.end());
    return Report;
}

void AskAndImportExchange(TDocument& Doc, UserInterface& UI, const char* Filter,
                          const std::function<TExchangeImport(const std::string& Path)>& Import) {
    const std::optional<std::string> Path = UI.OpenDialog(Doc.State().FProgramDir, Filter);
    if (!Path)
        return;
    TExchangeImport Report;
    {
        TPleaseWait Wait(UI, "Loading " + FileNamePart(*Path));
        Report = Import(*Path);
    }
    ReportExchangeImport(*Path, Report, UI);
}

std::string ExchangeImportSummary(const std::string& Path, const TExchangeImport& Report,
                                  const UserInterface& UI) {
    std::string Text = "Loaded " + Path + ":\n" + std::to_string(Report.Imported) +
                       " items imported, " + std::to_string(Report.Unchanged) +
                       " unchanged (the same text), " + std::to_string(Report.Skipped) +
                       " skipped (no translation), " + std::to_string(Report.Refused.size()) +
                       " refused.";
    if (!Report.Refused.empty())
        Text += "\nThese units were not imported; their items keep their text:" +
                ListedLines(UI, Report.Refused);
    return Text;
}

void ReportExchangeImport(const std::string& Path, const TExchangeImport& Report,
                          UserInterface& UI) {
    UI.MessageDlg(ExchangeImportSummary(Path, Report, UI),
                  Report.Refused.empty() ? TMsgDlgType::mtInformation : TMsgDlgType::mtWarning,
                  mbOK);
}

} // namespace kav
