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
    TMainState State;
    TStyledGridModel Grid;
    ScriptedUserInterface UI;
    TRecordedEvents Events;
    TDocument Doc{State, Grid, UI};

    TFixture() {
        // As the window starts: English selected, events told to the recorder.
        State.FLanguageCode = "ENU";
        State.FObserver = &Events;
        QDir(Dir.path()).mkpath("Default");
        QDir(Dir.path()).mkpath("Language");
        State.FProgramDir = Dir.path().toStdString() + "/";
        State.FDefaultDir = State.FProgramDir + "Default/";
        State.FDefaultFileName = State.FDefaultDir + MainDefaultName;
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
};

inline std::string Translations(const std::string& Names) {
    std::string Bytes = Header;
    for (char C : Names)
        Bytes += Item(std::string(1, C), std::string("t") + C, "  {16777215}");
    return Bytes;
}

} // namespace kav
