#include "app/MemoryPanel.h"

#include "document/Concordance.h"
#include "document/Document.h"
#include "document/Languages.h"
#include "document/Pretranslation.h"
#include "document/UserInterface.h"
#include "gridview/StyledStringGrid.h"
#include "text/CodePage.h"
#include "widgets/ConcordanceWindow.h"
#include "widgets/SuggestionsDock.h"

#include <QAction>
#include <QFutureWatcher>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace kav {

namespace {

QString EnglishOf(const TItemTable& Items, TItemId Id) {
    return DecodeBytes(Items.Default(Id), SystemAnsiCodePage());
}

} // namespace

TMemoryPanel::TMemoryPanel(TDocument& Doc, TStyledStringGrid& Grid, UserInterface& UI,
                           QMainWindow& Window, QMenu& Menu,
                           std::function<void(const std::function<void()>&)> Command,
                           std::function<void(int Row)> GoToRow)
    : QObject(&Window), Doc(Doc), Grid(Grid), UI(UI), FCommand(std::move(Command)),
      FGoToRow(std::move(GoToRow)) {
    FDock = new TSuggestionsDock(&Window);
    Window.addDockWidget(Qt::RightDockWidgetArea, FDock);
    QAction* Show = FDock->toggleViewAction();
    Show->setText("Show &Suggestions");
    Menu.addAction(Show);
    Menu.addSeparator();
    for (int N = 1; N <= SuggestionKeys; ++N) {
        QAction* Use = Menu.addAction(QString("Use Suggestion &%1").arg(N));
        Use->setObjectName(QString("UseSuggestion%1").arg(N));
        Use->setShortcut(QKeySequence(QString("Ctrl+%1").arg(N)));
        Use->setStatusTip("Put this suggestion of the translation memory into the translation");
        connect(Use, &QAction::triggered, this,
                [this, N] { FCommand([this, N] { UseSuggestion(N); }); });
    }
    Menu.addSeparator();
    QAction* All = Menu.addAction("Translate All &Exact Matches");
    All->setObjectName("TranslateAllExactMatches");
    All->setStatusTip("Fill every untranslated item that has a 100 % match in the memory");
    connect(All, &QAction::triggered, this,
            [this] { FCommand([this] { TranslateAllExactMatches(); }); });
    QAction* Find = Menu.addAction("&Concordance...");
    Find->setObjectName("ConcordanceMenu");
    Find->setShortcut(QKeySequence("Ctrl+Shift+F"));
    Find->setStatusTip("Find a word or phrase in the document and the translation memory");
    connect(Find, &QAction::triggered, this, [this] { ShowConcordance(); });
    FDock->ShowSuggestions({}, "No document open.");
}

TMemoryPanel::~TMemoryPanel() = default;

void TMemoryPanel::Rebuild() {
    FBuilding = true;
    FSeen.clear(); // the table may be another one
    if (FBuildQueued)
        return;
    FBuildQueued = true;
    // A load tells its language, kind and table one after another: one build for them all.
    QTimer::singleShot(0, this, [this] { StartWhenFree(); });
}

void TMemoryPanel::StartWhenFree() {
    // Events run while a file is read: the build waits for the table, not for the language
    // told before it, and leaves both cores to the load.
    if (FBusy && FBusy()) {
        QTimer::singleShot(BusyRetryMs, this, [this] { StartWhenFree(); });
        return;
    }
    FBuildQueued = false;
    StartBuild();
}

namespace {

// The open file's items for the memory, when the document holds a file as it was read or
// saved: the build then reads neither it nor, when it is the only one, its default file again.
std::shared_ptr<const TOpenFileTexts> OpenFileTexts(const TDocument& Doc) {
    const TDocumentState& S = Doc.State();
    // The document names the file it holds once the file is read (or saved); FUntitled
    // follows later, after the load's own events.
    if (S.FFileKind == fkNone || S.FFileName == UntitledName)
        return nullptr;
    const TItemTable& Items = Doc.Items();
    auto Open = std::make_shared<TOpenFileTexts>(S.FFileName);
    size_t Bytes = 0;
    for (TItemId Id = 0; Id < Items.Count(); ++Id)
        Bytes += Items.Name(Id).size() + Items.Default(Id).size() + Items.Translation(Id).size();
    Open->Reserve(size_t(Items.Count()), Bytes);
    for (TItemId Id = 0; Id < Items.Count(); ++Id)
        Open->Add(Items.Name(Id), Items.Default(Id), Items.Translation(Id));
    return Open;
}

} // namespace

void TMemoryPanel::StartBuild() {
    const unsigned Generation = ++FGeneration;
    const std::string Dir = Doc.State().FProgramDir;
    const std::string Code = Doc.State().FLanguageCode;
    std::shared_ptr<const TOpenFileTexts> Open = OpenFileTexts(Doc);
    FStop.request_stop();
    FStop = std::stop_source();
    auto* Watcher = new QFutureWatcher<TMemoryBuild>(this);
    connect(Watcher, &QFutureWatcherBase::finished, this, [this, Watcher, Generation] {
        Watcher->deleteLater();
        if (Generation != FGeneration)
            return; // a newer build is on its way
        TMemoryBuild Build = Watcher->future().takeResult();
        FMemory = std::make_shared<const TTranslationMemory>(std::move(Build.Memory));
        FBuilding = false;
        if (!Build.Problems.empty()) {
            QString Problem = QString::fromStdString(Build.Problems.front());
            UI.SetStatusText(StatusHint,
                             "Translation memory: " + Problem.replace('\n', ' ').toStdString());
        }
        ShowRow(FRow);
        Grid.viewport()->update();
    });
    Watcher->setFuture(QtConcurrent::run([Dir, Code, Open, Stop = FStop.get_token()] {
        return BuildTranslationMemory(Dir, Code, Open.get(), Stop);
    }));
}

void TMemoryPanel::RowChanged(int Row) {
    if (Row != FRow)
        ShowRow(Row);
}

void TMemoryPanel::ItemsChanged(const std::vector<int>& Items, bool FromHistory) {
    if (Items.size() == 1 && !FromHistory)
        TranslationCommitted(Items.front());
    ShowRow(FRow);
}

void TMemoryPanel::TranslationCommitted(int Id) {
    const TItemTable& Items = Doc.Items();
    const auto Seen = FSeen.find(Id);
    if (!Items.Contains(Id) || Seen == FSeen.end() || Seen->second == Items.Translation(Id))
        return; // an item the translator was not on, or a change beside its translation
    Seen->second = std::string(Items.Translation(Id));
    if (IsUntranslatedItem(Items, Id) ||
        UntranslatedWithDefault(Items, Items.Default(Id), Id).empty())
        return;
    // Asked once the edit is over, so that the question never stands inside it.
    QTimer::singleShot(0, this, [this, Id, Translation = Seen->second] {
        FCommand([this, Id, Translation] { OfferPropagation(Id, Translation); });
    });
}

void TMemoryPanel::OfferPropagation(int Id, const std::string& Translation) {
    const TItemTable& Items = Doc.Items();
    if (!Items.Contains(Id) || Items.Translation(Id) != Translation)
        return; // changed again meanwhile
    const std::vector<TItemId> Others = UntranslatedWithDefault(Items, Items.Default(Id), Id);
    if (Others.empty())
        return;
    const std::string Count =
        Others.size() == 1 ? std::string("the other untranslated item")
                           : "the " + std::to_string(Others.size()) + " other untranslated items";
    if (UI.MessageDlg("Use the translation of " + Items.Caption(Id) + " for " + Count +
                          " with the same English text?",
                      TMsgDlgType::mtConfirmation, mbYes | mbNo) != TModalResult::mrYes)
        return;
    TUpdateLock Lock(UI);
    FillItems(Doc, Others, Translation, "Use translation of " + Items.Caption(Id));
}

std::vector<TMemoryMatch> TMemoryPanel::MatchesOf(int Row) const {
    const TItemTable& Items = Doc.Items();
    const TItemId Id = ItemOfRow(Row);
    if (!FMemory || !Items.Contains(Id) || Items.Default(Id).empty())
        return {};
    // The item's own translation as its file holds it is no suggestion.
    const std::string OwnFile = FileNamePart(Doc.State().FFileName);
    std::vector<TMemoryMatch> Matches = FMemory->Lookup(EnglishOf(Items, Id), SuggestionKeys + 1);
    std::erase_if(Matches, [&](const TMemoryMatch& M) {
        const TMemoryPair& Pair = FMemory->Pair(M.Pair);
        return Pair.Origin == OwnFile && Pair.Name == Items.Name(Id);
    });
    if (Matches.size() > SuggestionKeys)
        Matches.resize(SuggestionKeys);
    return Matches;
}

void TMemoryPanel::ShowRow(int Row) {
    FRow = Row;
    if (Doc.Items().Contains(ItemOfRow(Row)))
        FSeen.emplace(ItemOfRow(Row), std::string(Doc.Items().Translation(ItemOfRow(Row))));
    if (FBuilding || !FMemory) {
        FDock->ShowSuggestions({}, "Building the translation memory...");
        return;
    }
    const TItemId Id = ItemOfRow(Row);
    if (!Doc.Items().Contains(Id)) {
        FDock->ShowSuggestions({}, "No item selected.");
        return;
    }

    const QString English = EnglishOf(Doc.Items(), Id);
    std::vector<TSuggestionView> Views;
    for (const TMemoryMatch& Match : MatchesOf(Row)) {
        const TMemoryPair& Pair = FMemory->Pair(Match.Pair);
        TSuggestionView View{
            Match.Score, QString::fromStdString(Pair.Origin), Pair.Source, {}, Pair.Target};
        for (const TTextSpan& Span : ChangedWords(English, Pair.Source))
            View.Changed.emplace_back(Span.Start, Span.Length);
        Views.push_back(std::move(View));
    }
    FDock->ShowSuggestions(
        Views, FMemory->Count() == 0
                   ? QString("The translation memory holds no translations of this language.")
                   : QString("No match of %1 % or more among %2 translations.")
                         .arg(MinFuzzyScore)
                         .arg(FMemory->Count()));
}

bool TMemoryPanel::ExactMatchRow(int Row) const {
    const TItemTable& Items = Doc.Items();
    const TItemId Id = ItemOfRow(Row);
    if (!FMemory || FBuilding || !Items.Contains(Id) || !IsUntranslatedItem(Items, Id))
        return false;
    return !FMemory->ExactTranslation(EnglishOf(Items, Id)).isNull();
}

void TMemoryPanel::UseSuggestion(int N) {
    const int Row = Grid.Row();
    const std::vector<TMemoryMatch> Matches = MatchesOf(Row);
    if (N < 1 || N > static_cast<int>(Matches.size())) {
        UI.Beep();
        return;
    }
    const QString Target = FMemory->Target(Matches[static_cast<size_t>(N - 1)].Pair).toString();
    if (const QChar Refused = RefusedInItemText(Target, TItemField::Translation);
        !Refused.isNull()) {
        UI.Beep();
        UI.MessageDlg("The suggestion holds a character a language file cannot hold: " +
                          QString(Refused).toStdString(),
                      TMsgDlgType::mtWarning, mbOK);
        return;
    }
    const int CodePage = TranslatedCodePage(Doc.State());
    const EncodeResult Encoded = EncodeText(Target, CodePage);
    if (!Encoded.Ok()) {
        UI.Beep();
        UI.MessageDlg(UnrepresentableMessage(Encoded, CodePage).toStdString(),
                      TMsgDlgType::mtWarning, mbOK);
        return;
    }
    Doc.EditItem(ItemOfRow(Row), TItemField::Translation, *Encoded.Bytes);
}

void TMemoryPanel::ShowConcordance() {
    if (!FConcordance) {
        FConcordance = new TConcordanceWindow(Grid.window());
        connect(FConcordance, &TConcordanceWindow::SearchAsked, this,
                [this](const QString& Phrase) { SearchConcordance(Phrase); });
        connect(FConcordance, &TConcordanceWindow::RowChosen, this, [this](int Row) {
            if (Doc.Items().Contains(ItemOfRow(Row)))
                FGoToRow(Row);
        });
    }
    FConcordance->show();
    FConcordance->raise();
    FConcordance->activateWindow();
    FConcordance->Phrase->setFocus();
    FConcordance->Phrase->selectAll();
}

void TMemoryPanel::SearchConcordance(const QString& Phrase) {
    const std::vector<TConcordanceHit> Hits = kav::SearchConcordance(
        Phrase, Doc.Items(), TranslatedCodePage(Doc.State()), FBuilding ? nullptr : FMemory.get(),
        FileNamePart(Doc.State().FFileName));
    std::vector<TConcordanceWindow::TLine> Lines;
    for (const TConcordanceHit& Hit : Hits)
        Lines.push_back({QString::fromStdString(Hit.Where), Hit.English, Hit.Translation,
                         Hit.Item == NoItem ? -1 : RowOfItem(Hit.Item)});
    QString Summary =
        Lines.size() == 1 ? QString("1 place") : QString("%1 places").arg(Lines.size());
    if (FBuilding)
        Summary += " in the document (the translation memory is still being built)";
    FConcordance->ShowLines(Lines, Summary);
}

void TMemoryPanel::TranslateAllExactMatches() {
    if (!FMemory || FBuilding) {
        UI.MessageDlg("The translation memory is still being built. Try again in a moment.",
                      TMsgDlgType::mtInformation, mbOK);
        return;
    }
    const TPretranslationPlan Plan =
        PlanPretranslation(Doc.Items(), *FMemory, TranslatedCodePage(Doc.State()), ExactScore);
    int Filled = 0;
    {
        TUpdateLock Lock(UI);
        Filled = ApplyPretranslation(Doc, Plan);
    }
    UI.MessageDlg(PretranslationSummary(Plan, Filled) + ".", TMsgDlgType::mtInformation, mbOK);
}

} // namespace kav
