#include "editing/SpellingMenu.h"

#include "editing/TranslationView.h"

#include <QAction>
#include <QMenu>

namespace kav {

namespace {

// Marks the actions this module adds, so that the next row's replace them.
const char* const SpellingProperty = "kavSpelling";
// A translation with more misspelt words than this has a bigger problem than its spelling.
constexpr size_t ListedWords = 5;

} // namespace

void AddSpellingItems(QMenu& Menu, TTranslationView& View, int Row) {
    for (QAction* Old : Menu.actions()) {
        if (Old->property(SpellingProperty).toBool()) {
            Menu.removeAction(Old);
            Old->deleteLater();
        }
    }
    const std::vector<TTranslationView::TMisspelt> Words = View.MisspeltWords(Row);
    if (Words.empty())
        return;
    TSpeller* Speller = View.Findings().Speller();
    QAction* Before = Menu.actions().isEmpty() ? nullptr : Menu.actions().first();
    for (size_t I = 0; I < Words.size() && I < ListedWords; ++I) {
        const TTranslationView::TMisspelt Word = Words[I];
        QMenu* Sub = new QMenu(QString("Spelling: \u201c%1\u201d").arg(Word.Word), &Menu);
        Sub->setObjectName(QString("SpellingMenu%1").arg(I));
        const QStringList Suggestions = Speller ? Speller->Suggestions(Word.Word) : QStringList();
        for (const QString& Suggestion : Suggestions)
            Sub->addAction(Suggestion, &Menu, [&View, Row, Word, Suggestion] {
                View.ReplaceWord(Row, Word, Suggestion);
            });
        if (Suggestions.isEmpty())
            Sub->addAction("(no suggestions)")->setEnabled(false);
        Sub->addSeparator();
        QAction* Add = Sub->addAction("&Add to dictionary", &Menu,
                                      [&View, Word] { View.AddToDictionary(Word.Word); });
        Add->setObjectName("AddToDictionaryMenu");
        QAction* Entry = Sub->menuAction();
        Entry->setProperty(SpellingProperty, true);
        Menu.insertAction(Before, Entry);
    }
    if (Before) {
        QAction* Separator = Menu.insertSeparator(Before);
        Separator->setProperty(SpellingProperty, true);
    }
}

} // namespace kav
