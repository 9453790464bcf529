#pragma once
// The words and texts a language keeps as the English writes them: names every language keeps
// ("Z Shell") and the language's own words that are spelt the same (French "Volume", German
// "Status"). A translation equal to its default made of these only is no untranslated text.
// The shipped list of each language, plus the project's own list in the program folder.

#include <QSet>
#include <QString>

#include <string>

namespace kav {

class TSameWords {
public:
    // The shipped list of the language with that code ("FRA").
    static TSameWords Shipped(const std::string& LanguageCode);
    // The shipped list and the project's own (ProjectSameWordsFile), when it has one.
    static TSameWords For(const std::string& ProgramDir, const std::string& LanguageCode);

    // A word or a whole text, as a list line has it.
    void Add(const QString& WordOrText);
    // Adds each line of a UTF-8 file (blank lines and lines starting with # are skipped);
    // false when the file cannot be read.
    bool AddFile(const QString& Path);
    // The whole text is on the list, or each of its words that a translator would translate.
    bool Covers(const QString& Text) const;
    bool Contains(const QString& WordOrText) const;
    int Size() const { return static_cast<int>(FEntries.size()); }

private:
    QSet<QString> FEntries; // case-folded
};

// Dictionary/<CODE>.same in the program folder: the project's words that stay the same.
std::string ProjectSameWordsFile(const std::string& ProgramDir, const std::string& LanguageCode);

} // namespace kav
