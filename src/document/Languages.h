#pragma once
// Languages and character sets: the language box, the character set of the translated texts,
// the keyboard layout and the stored last pick.

#include "document/DocumentState.h"
#include "document/UserInterface.h"
#include "grid/GridModel.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kav {

// The language box and the character-set box as the language logic uses them. Entry texts are
// UTF-8. Selecting through this view never raises the boxes' change events.
class ILanguageView {
public:
    virtual ~ILanguageView() = default;
    virtual int LanguageCount() const = 0;
    virtual std::string LanguageText(int Index) const = 0;
    virtual int LanguageIndex() const = 0; // -1 when nothing is selected
    virtual void SetLanguageIndex(int Index) = 0;
    virtual void AddLanguage(const std::string& Entry) = 0; // the box keeps itself sorted

    virtual void SetCharsetFontName(const std::string& Name) = 0;
    virtual int CharsetIndexOf(int Charset) const = 0; // -1 when the font lacks it
    virtual int CharsetIndex() const = 0;              // -1 when nothing is selected
    virtual void SetCharsetIndex(int Index) = 0;
    virtual std::string CharsetText() const = 0; // the selected entry's text, or empty
    virtual int SelectedCharset() const = 0;     // the selected entry's character set

    // lblLanguage back to the window-text colour.
    virtual void ResetLanguageLabel() = 0;
};

// The Windows character set of a two-letter language key (upper-cased first); 1 for any key
// the table lacks, the empty key included.
std::uint8_t CharsetOfLanguageKey(std::string_view Key);
// The same for a language code ("FRA") or a language box entry ("FRA - French (France)"):
// the key is their first two letters.
std::uint8_t CharsetOfLanguage(std::string_view CodeOrEntry);

// The code page of translated texts in Charset for the language with that three-letter code.
// The default set (1) stands for the ANSI code page of the language's locale, as on a Windows
// system of that language (932 for JPN, 1256 for ARA); KAVTOOL_ANSI_CODEPAGE overrides it, and
// without a known language it is the system ANSI code page.
int CodePageForLanguageCharset(int Charset, std::string_view LanguageCode);

// The code page of the translated column: FFontCharset for FLanguageCode.
int TranslatedCodePage(const TDocumentState& State);

class TDocument;

class TLanguages {
public:
    // The document takes the language and character set the boxes select.
    TLanguages(TDocument& Doc, TStyledGridModel& Grid, ILanguageView& View);

    // The selected language's code and character set, kept in FLanguageCode and FFontCharset.
    std::uint8_t CharsetForLanguage();
    void ActivateLanguageKeyboard();
    // Writes the last pick; throws ToolError ("Failed to set data for '...'") when the store
    // was open but the value did not reach it.
    void StoreLanguageSetting(const std::string& ValueName, const std::string& Code);

    // Start-up, steps before and after the language list is filled.
    void InitCharsetBox();
    void InitLanguageList();
    // The user picked a language: it is stored as the last pick of the program ProgramPath
    // names (the document takes the language and tells ShowLanguage).
    void LanguagePicked(const std::string& ProgramPath);
    // The user picked a character set.
    void CharsetClick();
    // Shows the document's language by code, with its character set, header cell and keyboard;
    // a code the box lacks keeps the box's selection. The cells are the document's to change.
    void ShowLanguage(const std::string& Code);
    // Whether the box has an entry for Code.
    bool Offers(const std::string& Code) const;

    // The selected entry and its code (first three characters).
    std::string SelectedEntry() const;
    std::string SelectedCode() const { return SelectedEntry().substr(0, 3); }

private:
    void SelectCharsetEntry(int Charset);
    void SetHeader(const std::string& Utf8Text);
    std::string HeaderWithCharset() const;

    TDocument& Doc;
    TStyledGridModel& Grid;
    ILanguageView& View;
};

} // namespace kav
