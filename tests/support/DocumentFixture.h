#pragma once
// A program folder with Default/ and Language/ and one document on top of it, with the
// scripted user-interface port, for the tests of the document layer.

#include "RecordedEvents.h"
#include "ScriptedUserInterface.h"
#include "document/Document.h"
#include "document/TranslationTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <string>

namespace kav {

inline std::string Item(const std::string& Name, const std::string& Text,
                        const std::string& Tail = "") {
    return "Txt_" + Name + " , \"" + Text + "\"" + Tail + "\r\n";
}

inline const char* Header = "#include \"KavLang.Inc\"\r\n\r\n//Kavrino Language x\r\n\r\n";

// A program folder with Default/ and Language/ and one document on top.
struct TFixture {
    QTemporaryDir Dir;
    TStyledGridModel Grid;
    ScriptedUserInterface UI;
    TRecordedEvents Events;
    TDocument Doc{Grid, UI};
    const TDocumentState& State = Doc.State();

    TFixture() {
        // As the window starts: English selected, events told to the recorder.
        Doc.AdoptLanguage("ENU");
        Doc.SetObserver(&Events);
        QDir(Dir.path()).mkpath("Default");
        QDir(Dir.path()).mkpath("Language");
        Doc.SetFolders(Dir.path().toStdString() + "/");
        ConfigureTable(Grid);
    }
    std::string Path(const std::string& Relative) const { return State.FProgramDir + Relative; }
    void Write(const std::string& Relative, const std::string& Bytes) const {
        QFile F(QString::fromStdString(Path(Relative)));
        QVERIFY(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
        F.write(Bytes.data(), static_cast<qint64>(Bytes.size()));
    }
    std::string Read(const std::string& Relative) const {
        QFile F(QString::fromStdString(Path(Relative)));
        if (!F.open(QIODevice::ReadOnly))
            return "<missing>";
        return F.readAll().toStdString();
    }
    // Default file with items A, B, C ... (default texts "a", "b", ...).
    void WriteDefault(const std::string& Names, const char* Name = MainDefaultName) {
        std::string Bytes = Header;
        for (char C : Names)
            Bytes += Item(std::string(1, C), std::string(1, char(C + 32)), " {40} {} {} {}");
        Write(std::string("Default/") + Name, Bytes);
    }
    std::string Col(int Column, int Row) const { return std::string(Grid.Cells(Column, Row)); }
    // Changes an item as the translator does, through the document's command path: a text of
    // column Col (name, default text or translation) of Row.
    void Put(int Column, int Row, const std::string& Bytes) {
        TDocumentEdit Edit(Doc, "edit");
        Edit.SetField(ItemOfRow(Row), FieldOfColumn(Column), Bytes);
    }
    void PutColour(int Row, TColor Colour) { Doc.SetColourMark(ItemOfRow(Row), Colour); }
    // A document of items ITEM0, ITEM1 ... with the default text Default and these exact
    // translations, as unchanged (opened from Language/Kavr_ENU.str).
    void OpenItems(const std::vector<std::string>& Texts, const std::string& Default = "Default") {
        std::string Bytes = Header;
        for (size_t i = 0; i < Texts.size(); ++i)
            Bytes += Item("ITEM" + std::to_string(i), Default);
        Write("Default/" + std::string(MainDefaultName), Bytes);
        Write("Language/Kavr_ENU.str", Header);
        QVERIFY(Doc.OpenPath(Path("Language/Kavr_ENU.str")));
        {
            TDocumentEdit Edit(Doc, "setup");
            for (size_t i = 0; i < Texts.size(); ++i)
                Edit.SetTranslation(static_cast<TItemId>(i), Texts[i]);
        }
        Doc.SetModified(false);
    }
};

// Everything the document told the user, messages and errors, a line each.
inline std::string Told(const TFixture& F) {
    std::string All;
    for (const std::string& Text : F.UI.Texts())
        All += Text + "\n";
    for (const std::string& Text : F.UI.Errors)
        All += Text + "\n";
    return All;
}

inline std::string Translations(const std::string& Names) {
    std::string Bytes = Header;
    for (char C : Names)
        Bytes += Item(std::string(1, C), std::string("t") + C, "  {16777215}");
    return Bytes;
}

} // namespace kav
