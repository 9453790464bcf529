#pragma once
// Spelling with Hunspell: the dictionary of a document's language (the system's, as Debian's
// hunspell-* packages install them) and the project's own word list, Dictionary/<CODE>.dic in
// the program folder, one word a line. Widget-free: the grid's underline, its pop-up menu and
// kavtool check all ask here.

#include "document/TextChecks.h"

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class Hunspell;

namespace kav {

class TSpeller {
public:
    ~TSpeller();
    TSpeller(const TSpeller&) = delete;
    TSpeller& operator=(const TSpeller&) = delete;

    // The speller of the language with that code ("FRA"), with the project's word list of
    // ProgramDir when it has one; null when no dictionary of the language is installed.
    static std::unique_ptr<TSpeller> ForLanguage(const std::string& LanguageCode,
                                                 const std::string& ProgramDir);
    // Where dictionaries are looked for: $KAV_HUNSPELL_PATH (folders separated by :), else
    // /usr/share/hunspell.
    static QStringList DictionaryFolders();
    // The dictionary names a language code stands for, best first ("FRA" -> fr_FR, fr).
    static QStringList DictionaryNames(const std::string& LanguageCode);

    bool Correct(QStringView Word);
    bool Correct(const QString& Word) { return Correct(QStringView(Word)); }
    QStringList Suggestions(const QString& Word, int Max = 8);
    // Takes Word into the project's list (creating Dictionary/ when needed) and into this
    // speller; false with Error naming the file when it cannot be written.
    bool AddToProject(const QString& Word, std::string& Error);
    // The dictionary's file without its extension, for messages ("/usr/share/hunspell/fr_FR").
    const std::string& Dictionary() const { return FDictionary; }

private:
    TSpeller() = default;
    std::string ToDictionary(const QString& Word) const;
    QString FromDictionary(const std::string& Bytes) const;

    std::unique_ptr<Hunspell> FHunspell;
    std::string FDictionary;
    std::string FEncoding; // the dictionary's SET, "UTF-8" for most
    std::string FProjectFile;
    // The script of the language when it is not Latin: a Latin word in a Russian or Greek
    // text is a name or a term (Windows, PDF), not Russian or Greek spelt wrong.
    QChar::Script FScript = QChar::Script_Latin;
    // Words looked up so far, found by a view of the word: a row's words are asked for without
    // a copy each.
    struct TWordHash {
        using is_transparent = void;
        size_t operator()(std::u16string_view Word) const {
            return std::hash<std::u16string_view>{}(Word);
        }
    };
    std::unordered_map<std::u16string, bool, TWordHash, std::equal_to<>> FKnown;
    static std::u16string_view ViewOf(QStringView Word) {
        return {reinterpret_cast<const char16_t*>(Word.utf16()), static_cast<size_t>(Word.size())};
    }
};

// A word to judge: where it stands in the text (its accelerator mark included) and the word
// itself, without the mark.
struct TSpellWord {
    TWordSpan Span;
    QString Word;
};
// The words of Translated the speller does not know, leaving out the default's words and loans
// built on them, placeholders, accelerators, identifiers (KP_Enter, camelCase), acronyms, codes
// with digits and single letters.
std::vector<TSpellWord> MisspeltWords(TSpeller& Speller, const QString& Default,
                                      const QString& Translated);
// The `spelling` finding of a translation: the misspelt words, or nothing.
std::optional<TFinding> CheckSpelling(TSpeller& Speller, const QString& Default,
                                      const QString& Translated);

// Dictionary/<CODE>.dic in the program folder.
std::string ProjectDictionaryFile(const std::string& ProgramDir, const std::string& LanguageCode);

} // namespace kav
