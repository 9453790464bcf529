// Sequences of what a translator does, driven through the real main window from seeds and
// compared after every step with a small reference model: the items as a list, the history as
// a stack of whole states, the file as what its last save wrote. The faults found in the window
// needed several ordinary actions in a row (edit, navigate, undo, save refused, undo again), so
// the sequences mix every kind of action, saves that succeed and saves refused, reloads, undo,
// redo and typing after every kind of navigation. A failing seed prints its sequence.

#include "MainWindowFixture.h"
#include "ScriptedUserInterface.h"
#include "app/FormGotoLine.h"
#include "document/BackupHistory.h"
#include "document/TranslationTable.h"
#include "gridview/StyledStringGrid.h"
#include "searchui/KavrinoFindDialog.h"
#include "searchui/KavrinoFindForm.h"
#include "searchui/KavrinoReplaceDialog.h"
#include "searchui/KavrinoReplaceForm.h"
#include "text/StringUtils.h"
#include "undo/DocumentHistory.h"

#include <QAction>
#include <QMenu>
#include <QRandomGenerator>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <tuple>

using namespace kav;

namespace {

struct TMark {
    long long Position = 0;
    std::string Old, New, Before, After;
    bool operator==(const TMark&) const = default;
};

struct TModelItem {
    std::string Name;
    std::string Translation;
    TColor Colour = clWhite;
    std::vector<TMark> Marks;
    bool operator==(const TModelItem&) const = default;
};

using TItems = std::vector<TModelItem>;

// What the document should hold, worked out without it.
// One step of the history: each item it changed, with its whole state before and after.
struct TModelStep {
    std::vector<std::tuple<size_t, TModelItem, TModelItem>> Changed;
};

struct TModel {
    std::vector<std::string> DefaultNames;
    std::vector<std::string> DefaultTexts;
    TItems Items;
    TItems Start;                  // the items the history starts from
    std::vector<TModelStep> Steps; // Steps[0..Index) are done
    int Index = 0;
    int SavedIndex = 0;      // -1: no state of the history is the file's
    bool SavedSince = false; // a save since Start dropped the marks
    TItems Disk;             // the items as the file on disk reads back
    int Bookmark3 = -1;      // the row of bookmark 3

    void Restart(const TItems& Loaded) {
        Items = Start = Loaded;
        Steps.clear();
        Index = SavedIndex = 0;
        SavedSince = false;
        Bookmark3 = -1;
    }
    // A command left Next: one step when it changed anything.
    void Step(const TItems& Next) {
        TModelStep Step;
        for (size_t I = 0; I < Next.size(); ++I)
            if (!(Next[I] == Items[I]))
                Step.Changed.emplace_back(I, Items[I], Next[I]);
        if (Step.Changed.empty())
            return;
        Steps.resize(static_cast<size_t>(Index));
        Steps.push_back(std::move(Step));
        ++Index;
        Items = Next;
        if (SavedIndex >= Index)
            SavedIndex = -1;
    }
    void Undo() {
        if (Index == 0)
            return;
        for (const auto& [I, Before, After] : Steps[static_cast<size_t>(--Index)].Changed)
            Items[I] = Before;
    }
    void Redo() {
        if (Index >= static_cast<int>(Steps.size()))
            return;
        for (const auto& [I, Before, After] : Steps[static_cast<size_t>(Index++)].Changed)
            Items[I] = After;
    }
    bool Modified() const { return Index != SavedIndex; }
    // Names a save must ask about: none, or not in the default file.
    bool Dropping() const {
        for (const TModelItem& Item : Items)
            if (IsBlankText(Item.Name))
                return true;
        return false;
    }
    bool Renaming() const {
        for (const TModelItem& Item : Items)
            if (!IsBlankText(Item.Name) && std::find(DefaultNames.begin(), DefaultNames.end(),
                                                     Item.Name) == DefaultNames.end())
                return true;
        return false;
    }
    // What the table holds after the file written from Items is read back.
    TItems ReadBack() const {
        TItems Back(Items.size());
        std::vector<bool> Used(Items.size(), false);
        for (size_t I = 0; I < Items.size(); ++I) {
            Back[I].Name = DefaultNames[I];
            for (size_t J = 0; J < Items.size(); ++J) {
                if (Used[J] || IsBlankText(Items[J].Name) || Items[J].Name != DefaultNames[I])
                    continue;
                Used[J] = true;
                Back[I].Translation =
                    IsBlankText(Items[J].Translation) ? DefaultTexts[I] : Items[J].Translation;
                Back[I].Colour = Items[J].Colour;
                break;
            }
        }
        return Back;
    }
    void Saved() {
        const TItems Back = ReadBack();
        // The steps still fit when the file reads back as the items were.
        bool Same = true;
        for (size_t I = 0; I < Items.size(); ++I)
            Same = Same && Items[I].Name == Back[I].Name &&
                   Items[I].Translation == Back[I].Translation && Items[I].Colour == Back[I].Colour;
        Disk = Back;
        if (!Same) {
            Restart(Back);
            return;
        }
        // The marks are not in the file; the history keeps its steps.
        Items = Back;
        SavedIndex = Index;
        SavedSince = true;
        Bookmark3 = -1;
    }
};

// Every occurrence of Old in Text replaced by New (match case, not whole words).
std::string ReplacedText(const std::string& Text, const std::string& Old, const std::string& New) {
    std::string Result;
    size_t From = 0;
    for (size_t At = Text.find(Old); At != std::string::npos; At = Text.find(Old, From)) {
        Result += Text.substr(From, At - From) + New;
        From = At + Old.size();
    }
    return Result + Text.substr(From);
}

const std::vector<std::string> Searched{"er", "Fichier", "ti", "de", "ou", "Q"};
const TColor KeyColours[] = {clAqua, clLime, clYellow, clFuchsia, clWhite};

class TSequence {
public:
    TSequence(quint32 Seed) : FRandom(Seed) {}

    bool Run(int Steps, QString& Log);

private:
    int Pick(int Count) { return static_cast<int>(FRandom.bounded(Count)); }
    int RandomItemRow() { return FirstItemRow + Pick(static_cast<int>(M.Items.size())); }
    std::string RandomWord();
    TItems Actual();
    bool Check(const QString& After);
    void Note(const QString& Step) { FLog << Step; }

    void Activate();
    void Type(const std::string& Text);
    void TypeInto(int Col, int Row, const std::string& Text);
    void EditTranslation();
    void EditName();
    void ReplaceAll();
    void UndoMark();
    void AcceptAll();
    void Fill();
    void Colour();
    void Save(bool Refuse);
    void Reload();
    void NavigateAndType();
    void TypeAfterNavigation(int Expected);

    QRandomGenerator FRandom;
    TModel M;
    std::unique_ptr<TOpenWindow> F;
    std::string FFile;
    QStringList FLog;
    QString FFailure;
};

std::string TSequence::RandomWord() {
    std::string Word;
    const int Length = 1 + Pick(6);
    for (int I = 0; I < Length; ++I)
        Word += static_cast<char>((Pick(2) ? 'a' : 'A') + Pick(26));
    return Word;
}

TItems TSequence::Actual() {
    const TItemTable& Items = F->Form().Document().Items();
    TItems All;
    for (TItemId Id = 0; Id < Items.Count(); ++Id) {
        TModelItem Item{
            std::string(Items.Name(Id)), std::string(Items.Translation(Id)), Items.Colour(Id), {}};
        for (const TReplacement& R : Items.Marks(Id))
            Item.Marks.push_back({R.Position, R.Old, R.New, R.Before, R.After});
        All.push_back(std::move(Item));
    }
    return All;
}

bool TSequence::Check(const QString& After) {
    const TItems Now = Actual();
    QString Problem;
    if (Now.size() != M.Items.size()) {
        Problem = QString("%1 items, the model has %2").arg(Now.size()).arg(M.Items.size());
    } else {
        for (size_t I = 0; I < Now.size() && Problem.isEmpty(); ++I) {
            const TModelItem& A = Now[I];
            const TModelItem& E = M.Items[I];
            if (!(A == E))
                Problem = QString("item %1: name '%2' translation '%3' colour %4 marks %5; "
                                  "the model: '%6' '%7' %8 %9")
                              .arg(I + 1)
                              .arg(QString::fromLatin1(A.Name), QString::fromLatin1(A.Translation))
                              .arg(A.Colour)
                              .arg(A.Marks.size())
                              .arg(QString::fromLatin1(E.Name), QString::fromLatin1(E.Translation))
                              .arg(E.Colour)
                              .arg(E.Marks.size());
        }
    }
    const QUndoStack& Stack = F->Form().History().Stack();
    if (Problem.isEmpty() && Stack.index() != M.Index)
        Problem = QString("history at %1, the model at %2").arg(Stack.index()).arg(M.Index);
    if (Problem.isEmpty() && F->Form().State().FModified != M.Modified())
        Problem =
            QString("modified %1, the model %2").arg(F->Form().State().FModified).arg(M.Modified());
    if (Problem.isEmpty())
        return true;
    FFailure = After + ": " + Problem;
    return false;
}

// The main window gets the keyboard back, as after closing a search window: its focus goes
// where it was.
void TSequence::Activate() {
    F->Form().activateWindow();
    (void)QTest::qWaitForWindowActive(&F->Form());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Types into whatever has the keyboard: the editor of the current cell. Its text is selected
// first, so the typing replaces it; Return ends the edit.
void TSequence::Type(const std::string& Text) {
    // Each key goes where the keyboard is when it is pressed.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    if (Text.empty())
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    for (char C : Text)
        QTest::keyClick(QApplication::focusWidget(), C);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void TSequence::TypeInto(int Col, int Row, const std::string& Text) {
    F->Click(Col, Row);
    Type(Text);
}

void TSequence::EditTranslation() {
    const int Row = RandomItemRow();
    std::string Typed = RandomWord();
    // A double quote now and then: the file cannot hold it, so it is not typed.
    if (Pick(4) == 0)
        Typed.insert(static_cast<size_t>(Pick(static_cast<int>(Typed.size()) + 1)), "\"");
    Note(QString("edit %1 '%2'").arg(Row).arg(QString::fromLatin1(Typed)));
    TypeInto(colTranslated, Row, Typed);
    std::string Kept;
    for (char C : Typed)
        if (C != '"')
            Kept += C;
    TItems Next = M.Items;
    TModelItem& Item = Next[static_cast<size_t>(ItemOfRow(Row))];
    if (Item.Translation != Kept && !Item.Marks.empty() && Item.Marks.back().After != Kept)
        Item.Marks.clear();
    Item.Translation = Kept;
    M.Step(Next);
}

void TSequence::EditName() {
    const int Row = RandomItemRow();
    const std::string Typed = Pick(2) ? std::string() : "RENAMED";
    Note(QString("name %1 '%2'").arg(Row).arg(QString::fromLatin1(Typed)));
    TypeInto(colName, Row, Typed);
    TItems Next = M.Items;
    Next[static_cast<size_t>(ItemOfRow(Row))].Name = Typed;
    M.Step(Next);
}

void TSequence::ReplaceAll() {
    const std::string Old = Searched[static_cast<size_t>(Pick(static_cast<int>(Searched.size())))];
    const std::string New = RandomWord();
    Note(QString("replace all '%1' by '%2'")
             .arg(QString::fromLatin1(Old), QString::fromLatin1(New)));
    TMainForm& Form = F->Form();
    QTest::keyClick(&Form, Qt::Key_R, Qt::ControlModifier);
    Form.ReplaceDialog1->SetFindText(Old);
    Form.ReplaceDialog1->SetReplaceText(New);
    Form.ReplaceDialog1->SetOptions(frDown | frReplaceAll | frMatchCase);
    F->W->Dialogs.Answers = {TModalResult::mrAll};
    Form.ReplaceDialog1->OnReplace(Form.ReplaceDialog1);
    F->W->Dialogs.Answers.clear();
    Form.ReplaceDialog1->ReplaceWindow()->close();
    Activate();
    TItems Next = M.Items;
    for (TModelItem& Item : Next) {
        const size_t At = Item.Translation.find(Old);
        if (At == std::string::npos)
            continue;
        if (!Item.Marks.empty() && Item.Marks.back().After != Item.Translation)
            Item.Marks.clear();
        const std::string After = ReplacedText(Item.Translation, Old, New);
        Item.Marks.push_back({static_cast<long long>(At) + 1, Old, New, Item.Translation, After});
        Item.Translation = After;
    }
    M.Step(Next);
}

void TSequence::UndoMark() {
    std::vector<int> Marked;
    for (size_t I = 0; I < M.Items.size(); ++I)
        if (!M.Items[I].Marks.empty())
            Marked.push_back(RowOfItem(static_cast<TItemId>(I)));
    if (Marked.empty())
        return AcceptAll();
    const int Row = Marked[static_cast<size_t>(Pick(static_cast<int>(Marked.size())))];
    Note(QString("undo the mark of %1").arg(Row));
    // The pop-up acts on the row right-clicked.
    QTest::mouseClick(F->Grid().viewport(), Qt::RightButton, {},
                      (F->Grid().SetTopRow(std::max(FirstItemRow, Row - 3)),
                       F->Grid().CellRect(colTranslated, Row).center()));
    F->Form().pmnuGridRowAction->hide();
    F->Form().UndoReplaceStringMenu->trigger();
    Activate();
    TItems Next = M.Items;
    TModelItem& Item = Next[static_cast<size_t>(ItemOfRow(Row))];
    Item.Translation = Item.Marks.back().Before;
    Item.Marks.pop_back();
    M.Step(Next);
}

void TSequence::AcceptAll() {
    Note("accept all marks");
    F->Form().ClearAllFlagsMenu->trigger();
    TItems Next = M.Items;
    for (TModelItem& Item : Next)
        Item.Marks.clear();
    M.Step(Next);
}

void TSequence::Fill() {
    const std::string Text(1, static_cast<char>('a' + Pick(26)));
    Note(QString("fill '%1'").arg(QString::fromLatin1(Text)));
    F->Form().edtFillChar->setText(QString::fromLatin1(Text));
    F->W->Dialogs.Answers = {TModalResult::mrYes};
    F->Form().btnFillTranslatedLanguage->click();
    F->W->Dialogs.Answers.clear();
    TItems Next = M.Items;
    for (TModelItem& Item : Next) {
        if (TrimCharSet(Item.Name, TrimChars()).empty() || Item.Translation == Text)
            continue;
        if (!Item.Marks.empty() && Item.Marks.back().After != Text)
            Item.Marks.clear();
        Item.Translation = Text;
    }
    M.Step(Next);
}

void TSequence::Colour() {
    const int Row = RandomItemRow();
    const int Key = Pick(5);
    Note(QString("colour %1 F%2").arg(Row).arg(5 + Key));
    F->Click(colTranslated, Row);
    F->Press(Qt::Key_F5 + Key);
    TItems Next = M.Items;
    Next[static_cast<size_t>(ItemOfRow(Row))].Colour = KeyColours[Key];
    M.Step(Next);
}

void TSequence::Save(bool Refuse) {
    const bool Asks = M.Dropping() || M.Renaming();
    Note(Asks && Refuse ? "save, answered No" : "save");
    F->W->Dialogs.Answers = {Refuse ? TModalResult::mrNo : TModalResult::mrYes,
                             TModalResult::mrYes};
    F->Press(Qt::Key_S, Qt::ControlModifier);
    F->W->Dialogs.Answers.clear();
    if (!(Asks && Refuse))
        M.Saved();
}

void TSequence::Reload() {
    Note("reopen, changes not saved");
    F->W->Dialogs.Answers = {TModalResult::mrNo};
    F->W->Dialogs.Files = {FFile};
    F->Form().FileOpen();
    F->W->Dialogs.Answers.clear();
    Activate();
    M.Restart(M.Disk);
}

void TSequence::TypeAfterNavigation(int Expected) {
    const std::string Typed = RandomWord();
    Note(QString("  then type '%1' (expected in row %2)")
             .arg(QString::fromLatin1(Typed))
             .arg(Expected));
    if (F->Grid().Row() != Expected || F->Grid().Col() != colTranslated ||
        F->Grid().CellRect(colTranslated, Expected).isEmpty()) {
        FFailure =
            QString("after the navigation the current cell is (%1, %2), row %3 %4")
                .arg(F->Grid().Col())
                .arg(F->Grid().Row())
                .arg(Expected)
                .arg(F->Grid().CellRect(colTranslated, Expected).isEmpty() ? "hidden" : "shown");
        return;
    }
    Type(Typed);
    TItems Next = M.Items;
    TModelItem& Item = Next[static_cast<size_t>(ItemOfRow(Expected))];
    if (!Item.Marks.empty() && Item.Marks.back().After != Typed)
        Item.Marks.clear();
    Item.Translation = Typed;
    M.Step(Next);
}

void TSequence::NavigateAndType() {
    TMainForm& Form = F->Form();
    int Expected = -1;
    switch (Pick(5)) {
    case 0: { // Ctrl+G
        const int Item = 1 + Pick(static_cast<int>(M.Items.size()));
        Note(QString("go to line %1").arg(Item));
        QTimer::singleShot(0, [Item] {
            if (auto* Dialog =
                    qobject_cast<TfrmGotoLineNumber*>(QApplication::activeModalWidget())) {
                Dialog->edtLineNumber->setText(QString::number(Item));
                Dialog->btnOKClick();
            }
        });
        Form.GotoLineMenuClick();
        Expected = Item + 1;
        break;
    }
    case 1: { // a bookmark set on one row and gone to from another
        const int Row = RandomItemRow();
        Note(QString("bookmark 3 on %1, go to it").arg(Row));
        F->Click(colTranslated, Row);
        if (M.Bookmark3 != Row)
            F->Press(Qt::Key_F3, Qt::ControlModifier | Qt::ShiftModifier);
        M.Bookmark3 = Row;
        F->Click(colTranslated, RandomItemRow());
        F->Press(Qt::Key_F3, Qt::ControlModifier);
        Expected = Row;
        break;
    }
    case 2: { // Alt+F12 from a row
        const int From = RandomItemRow();
        Note(QString("next marked row from %1").arg(From));
        F->Click(colTranslated, From);
        Expected = From;
        for (size_t I = static_cast<size_t>(ItemOfRow(From)) + 1; I < M.Items.size(); ++I)
            if (!M.Items[I].Marks.empty()) {
                Expected = RowOfItem(static_cast<TItemId>(I));
                break;
            }
        F->Press(Qt::Key_F12, Qt::AltModifier);
        break;
    }
    case 3: { // Find Next in the find window, then back to the grid
        const std::string Text =
            Searched[static_cast<size_t>(Pick(static_cast<int>(Searched.size())))];
        Note(QString("find '%1'").arg(QString::fromLatin1(Text)));
        Form.FindMenuClick();
        Form.FindDialog1->SetFindText(Text);
        F->W->Dialogs.Shown.clear();
        Form.FindDialog1->FindNextClick();
        const int Found = Form.Search().State().FFoundRow;
        const bool Missed = !F->W->Dialogs.Shown.empty(); // "End of grid..."
        Form.FindDialog1->Window()->close();
        Activate();
        if (Missed)
            return;
        Expected = Found;
        break;
    }
    default: { // F4
        Note("next finding");
        const int Before = F->Grid().Row();
        F->Press(Qt::Key_F4);
        Expected = F->Grid().Row();
        if (Expected == Before) // none below: a beep
            return;
        break;
    }
    }
    Activate();
    TypeAfterNavigation(Expected);
}

bool TSequence::Run(int Steps, QString& Log) {
    F = std::make_unique<TOpenWindow>("Kavr_FRA.str");
    FFile = F->Folder.Home() + "Language/Kavr_FRA.str";
    const TItemTable& Items = F->Form().Document().Items();
    for (TItemId Id = 0; Id < Items.Count(); ++Id) {
        M.DefaultNames.emplace_back(Items.Name(Id));
        M.DefaultTexts.emplace_back(Items.Default(Id));
    }
    M.Restart(Actual());
    M.Disk = M.Items;
    bool Ok = Check("open");
    for (int Step = 0; Ok && Step < Steps; ++Step) {
        const int Kind = Pick(100);
        if (Kind < 22)
            EditTranslation();
        else if (Kind < 27)
            EditName();
        else if (Kind < 35)
            ReplaceAll();
        else if (Kind < 40)
            UndoMark();
        else if (Kind < 42)
            AcceptAll();
        else if (Kind < 45)
            Fill();
        else if (Kind < 52)
            Colour();
        else if (Kind < 64) {
            Note("undo");
            F->Press(Qt::Key_Z, Qt::ControlModifier);
            M.Undo();
        } else if (Kind < 71) {
            Note("redo");
            F->Press(Qt::Key_Y, Qt::ControlModifier);
            M.Redo();
        } else if (Kind < 76)
            Save(false);
        else if (Kind < 81)
            Save(true);
        else if (Kind < 84)
            Reload();
        else
            NavigateAndType();
        Ok = FFailure.isEmpty() && Check(FLog.isEmpty() ? QString() : FLog.back());
    }
    // Undo back to the start of the history gives what the history began with.
    if (Ok) {
        Note("undo everything");
        while (F->Form().UndoMenu->isEnabled())
            F->Press(Qt::Key_Z, Qt::ControlModifier);
        while (M.Index > 0)
            M.Undo();
        Ok = Check("undo everything");
        // Without a save in between, that is the items as they were loaded.
        if (Ok && !M.SavedSince && !(Actual() == M.Start))
            Ok = false, FFailure = "undo everything does not give the loaded items";
    }
    // Saved and opened again, the file gives the model's items.
    if (Ok) {
        Save(false);
        TStyledGridModel Grid;
        ConfigureTable(Grid);
        ScriptedUserInterface UI;
        TDocument Reopened(Grid, UI);
        Reopened.SetFolders(F->Folder.Home());
        Reopened.OpenPath(FFile);
        for (TItemId Id = 0; Ok && Id < Reopened.Items().Count(); ++Id) {
            const TModelItem& E = M.Disk[static_cast<size_t>(Id)];
            if (Reopened.Items().Name(Id) != E.Name ||
                Reopened.Items().Translation(Id) != E.Translation ||
                Reopened.Items().Colour(Id) != E.Colour)
                Ok = false, FFailure = QString("reopened: item %1 differs").arg(Id + 1);
        }
    }
    FLog << ("failure: " + FFailure);
    Log = FLog.join("\n");
    return Ok && FFailure.isEmpty();
}

} // namespace

class TestSequences : public QObject {
    Q_OBJECT
private slots:
    void sequences_data();
    void sequences();
};

void TestSequences::sequences_data() {
    QTest::addColumn<quint32>("seed");
    // KAV_SEQUENCES sets how many seeds run (and KAV_SEQUENCE_SEED a single one, to replay it);
    // the sanitizer build runs a quarter of them, in the same time.
    const int Count = qEnvironmentVariableIsSet("KAV_SEQUENCES")
                          ? qEnvironmentVariableIntValue("KAV_SEQUENCES")
                      : qEnvironmentVariableIsSet("ASAN_OPTIONS") ? 50
                                                                  : 200;
    if (qEnvironmentVariableIsSet("KAV_SEQUENCE_SEED")) {
        const quint32 Seed = quint32(qEnvironmentVariableIntValue("KAV_SEQUENCE_SEED"));
        QTest::newRow(qPrintable(QString("seed %1").arg(Seed))) << Seed;
        return;
    }
    for (int I = 1; I <= Count; ++I)
        QTest::newRow(qPrintable(QString("seed %1").arg(I))) << quint32(I);
    // Seeds past the usual count that once found a fault: 333 redid a colour step after a save
    // had dropped the item's marks, and the marks of the step's time did not come back; 677 saved
    // with every step undone, the file read back differed and the steps to redo were kept.
    for (const quint32 Seed : {333u, 677u})
        if (static_cast<int>(Seed) > Count)
            QTest::newRow(qPrintable(QString("seed %1").arg(Seed))) << Seed;
}

void TestSequences::sequences() {
    QFETCH(quint32, seed);
    TSequence Sequence(seed);
    QString Log;
    const bool Ok = Sequence.Run(40, Log);
    QVERIFY2(Ok, qPrintable(QString("seed %1:\n%2").arg(seed).arg(Log)));
}

QTEST_MAIN(TestSequences)
#include "tst_Sequences.moc"
