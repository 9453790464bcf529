#include "document/Languages.h"

#include "document/Document.h"

#include "document/ToolError.h"
#include "document/TranslationTable.h"
#include "platform/Keyboard.h"
#include "platform/Locales.h"
#include "platform/Settings.h"
#include "text/CodePage.h"
#include "text/StringUtils.h"

#include <cctype>

namespace kav {

namespace {

// Header texts are cell bytes in the system code page; a letter it lacks shows as "?", since
// the header is a caption, not a translation.
std::string ToCellBytes(const std::string& Utf8) {
    QString Text = QString::fromStdString(Utf8);
    const int Page = SystemAnsiCodePage();
    std::string Bytes;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        EncodeResult One = EncodeText(Text.mid(i, 1), Page);
        Bytes += One.Ok() ? *One.Bytes : std::string("?");
    }
    return Bytes;
}

} // namespace

std::uint8_t CharsetOfLanguageKey(std::string_view Key) {
    struct TEntry {
        const char* Key;
        std::uint8_t Charset;
    };
    static const TEntry Table[] = {{"RU", 204}, {"SR", 204}, {"HE", 177}, {"FR", 0},   {"SV", 0},
                                   {"EN", 0},   {"EL", 161}, {"TR", 162}, {"SK", 238}, {"SL", 238},
                                   {"RO", 238}, {"HR", 238}, {"HU", 238}, {"CS", 238}, {"BG", 204},
                                   {"PL", 238}, {"UK", 204}};
    const std::string Upper = UpperCase(std::string(Key));
    for (const TEntry& Entry : Table)
        if (Upper == Entry.Key)
            return Entry.Charset;
    return 1;
}

int CodePageForLanguageCharset(int Charset, std::string_view LanguageCode) {
    if (Charset != 1)
        return CodePageForCharset(Charset);
    if (const std::optional<int> Override = AnsiCodePageOverride())
        return *Override;
    const LocaleInfo* Locale = FindLocaleByAbbreviation(UpperCase(std::string(LanguageCode)));
    const int Page = Locale ? AnsiCodePageOf(Locale->Lcid) : 0;
    return IsSupportedCodePage(Page) ? Page : SystemAnsiCodePage();
}

int TranslatedCodePage(const TDocumentState& State) {
    return CodePageForLanguageCharset(State.FFontCharset, State.FLanguageCode);
}

TLanguages::TLanguages(TDocument& Doc, TStyledGridModel& Grid, ILanguageView& View)
    : Doc(Doc), Grid(Grid), View(View) {}

std::uint8_t CharsetOfLanguage(std::string_view CodeOrEntry) {
    return CharsetOfLanguageKey(CodeOrEntry.substr(0, 2));
}

std::uint8_t TLanguages::CharsetForLanguage() {
    // Called after every change of the selection: the language also decides what the default
    // character set stands for.
    Doc.AdoptLanguage(SelectedCode());
    return Doc.State().FFontCharset;
}

std::string TLanguages::SelectedEntry() const {
    int Index = View.LanguageIndex();
    return Index < 0 ? std::string() : View.LanguageText(Index);
}

void TLanguages::ActivateLanguageKeyboard() {
    const std::string Code = SelectedCode();
    if (Code.empty())
        return;
    for (const LocaleInfo* Locale : LocalesWithAbbreviation(Code))
        Keyboard().ActivateKeyboardLayout(Locale->Lcid);
}

void TLanguages::StoreLanguageSetting(const std::string& ValueName, const std::string& Code) {
    const QString Name = QString::fromStdString(ValueName);
    if (WriteLocalisationValue(Name, QString::fromStdString(Code)) ==
        SettingsWriteResult::WriteFailed)
        throw ToolError(FailedToSetDataMessage(Name).toStdString());
}

void TLanguages::SelectCharsetEntry(int Charset) {
    int Index = View.CharsetIndexOf(Charset);
    if (Index >= 0)
        View.SetCharsetIndex(Index);
}

void TLanguages::SetHeader(const std::string& Utf8Text) {
    Grid.SetCells(colTranslated, 1, ToCellBytes(Utf8Text));
}

std::string TLanguages::HeaderWithCharset() const {
    return SelectedEntry() + " - " + View.CharsetText();
}

void TLanguages::InitCharsetBox() {
    View.SetCharsetFontName("Arial");
    SelectCharsetEntry(CharsetForLanguage());
}

void TLanguages::InitLanguageList() {
    for (const LocaleInfo& Locale : SystemLocales())
        if (!Locale.Abbreviation.empty())
            View.AddLanguage(std::string(Locale.Abbreviation) + " - " + std::string(Locale.Name));
    for (int i = 0; i < View.LanguageCount(); ++i) {
        if (UpperCase(View.LanguageText(i).substr(0, 3)) == "ENU") {
            View.SetLanguageIndex(i);
            SetHeader(SelectedEntry());
        }
    }
    ActivateLanguageKeyboard();
    ApplyTranslatedCharset(Grid, CharsetForLanguage());
}

void TLanguages::LanguagePicked(const std::string& ProgramPath) {
    View.ResetLanguageLabel();
    StoreLanguageSetting(ProgramPath, SelectedCode());
}

void TLanguages::CharsetClick() {
    if (View.CharsetIndex() < 0)
        return;
    Doc.SetCharset(static_cast<std::uint8_t>(View.SelectedCharset()));
    SetHeader(HeaderWithCharset());
}

bool TLanguages::Offers(const std::string& Code) const {
    for (int i = 0; i < View.LanguageCount(); ++i)
        if (UpperCase(View.LanguageText(i).substr(0, 3)) == Code)
            return true;
    return false;
}

void TLanguages::ShowLanguage(const std::string& Code) {
    for (int i = 0; i < View.LanguageCount(); ++i) {
        if (UpperCase(View.LanguageText(i).substr(0, 3)) != Code)
            continue;
        View.SetLanguageIndex(i);
        // Only the boxes change: the document already holds the language and its set.
        SelectCharsetEntry(CharsetOfLanguage(SelectedCode()));
        SetHeader(HeaderWithCharset());
    }
    ActivateLanguageKeyboard();
}

} // namespace kav
