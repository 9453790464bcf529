#pragma once
// The translation memory in the main window: it is built in a worker thread whenever a table
// is loaded or the language changes, so that an open is not slowed; the suggestions dock shows
// the matches of the current item; Ctrl+1 ... Ctrl+5 take one into the translation and
// "Translate All Exact Matches" fills every untranslated item from 100 % matches, each one
// document command (one undo step). The memory and the filling are the document layer's; this
// only wires them to the window.

#include "document/TranslationMemory.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;

namespace kav {

class TDocument;
class TStyledStringGrid;
class TConcordanceWindow;
class TSuggestionsDock;
class UserInterface;

class TMemoryPanel : public QObject {
    Q_OBJECT
public:
    // Command runs a command as the window's menu commands run (the edit in progress ends
    // first); GoToRow makes a row the one worked on. Menu gets the panel's items.
    TMemoryPanel(TDocument& Doc, TStyledStringGrid& Grid, UserInterface& UI, QMainWindow& Window,
                 QMenu& Menu, std::function<void(const std::function<void()>&)> Command,
                 std::function<void(int Row)> GoToRow);
    ~TMemoryPanel() override;

    static constexpr int SuggestionKeys = 5;
    static constexpr int BusyRetryMs = 20;

    // Builds the memory anew in the background (the table was loaded, saved or the language
    // changed); requests made before the build starts are one build.
    void Rebuild();
    // Busy says a load or a save is under way, which the build waits for.
    void SetBusy(std::function<bool()> Busy) { FBusy = std::move(Busy); }
    // The row the translator is on, or the items, changed: the panel follows. A new
    // translation of an item the translator was on (not an undo or redo: FromHistory) is
    // offered for the other untranslated items with the same English.
    void RowChanged(int Row);
    void ItemsChanged(const std::vector<int>& Items, bool FromHistory);

    // Whether the memory is built for the document as it is now.
    bool Ready() const { return FMemory && !FBuilding; }
    const TTranslationMemory* Memory() const { return FMemory.get(); }
    // The item of Row is untranslated and the memory has its English exactly.
    bool ExactMatchRow(int Row) const;
    TSuggestionsDock& Dock() { return *FDock; }

    // Takes suggestion N (1 to 5) of the current item into its translation.
    void UseSuggestion(int N);
    void TranslateAllExactMatches();
    // Opens the concordance window (the phrase typed there is searched on Enter).
    void ShowConcordance();
    TConcordanceWindow* Concordance() const { return FConcordance; }

private:
    void StartBuild();
    void StartWhenFree();
    void TranslationCommitted(int Id);
    void OfferPropagation(int Id, const std::string& Translation);
    void SearchConcordance(const QString& Phrase);
    void ShowRow(int Row);
    std::vector<TMemoryMatch> MatchesOf(int Row) const;

    TDocument& Doc;
    TStyledStringGrid& Grid;
    UserInterface& UI;
    std::function<void(const std::function<void()>&)> FCommand;
    std::function<void(int Row)> FGoToRow;
    TConcordanceWindow* FConcordance = nullptr;
    TSuggestionsDock* FDock = nullptr;
    std::shared_ptr<const TTranslationMemory> FMemory;
    // A build is asked for or running; only the newest one's result is taken.
    bool FBuilding = false;
    unsigned FGeneration = 0;
    // Stops the build under way when a newer one starts: a load tells its language before
    // its table, and the build for the language alone would run beside the real one.
    std::stop_source FStop;
    std::function<bool()> FBusy;
    bool FBuildQueued = false;
    int FRow = -1;
    // The translation each item had when the translator came to it, or last committed.
    std::unordered_map<int, std::string> FSeen;
};

} // namespace kav
