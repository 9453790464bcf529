#include "ScriptedUserInterface.h"
#include "document/Document.h"
#include "document/Languages.h"
#include "document/ToolError.h"
#include "document/TranslationTable.h"
#include "platform/Keyboard.h"
#include "platform/Locales.h"
#include "platform/Settings.h"

#include <QtTest>

#include <algorithm>

using namespace kav;

namespace {

// The two boxes without widgets: a sorted language list and a character-set list like the
// box builds for Arial.
class FakeLanguageView : public ILanguageView {
public:
    std::vector<std::string> Languages;
    int Language = -1;
    std::vector<std::pair<std::string, int>> Charsets{
        {"Baltic", 186},  {"Central European", 238}, {"Cyrillic", 204}, {"Greek", 161},
        {"Turkish", 162}, {"Vietnamese", 163},       {"Western", 0},    {"(Default)", 1}};
    int Charset = -1;
    std::string FontName;
    bool LabelReset = false;

    int LanguageCount() const override { return int(Languages.size()); }
    std::string LanguageText(int Index) const override { return Languages[size_t(Index)]; }
    int LanguageIndex() const override { return Language; }
    void SetLanguageIndex(int Index) override { Language = Index; }
    void AddLanguage(const std::string& Entry) override {
        Languages.insert(std::upper_bound(Languages.begin(), Languages.end(), Entry), Entry);
    }
    void SetCharsetFontName(const std::string& Name) override { FontName = Name; }
    int CharsetIndexOf(int Value) const override {
        for (size_t i = 0; i < Charsets.size(); ++i)
            if (Charsets[i].second == (Value & 0xFF))
                return int(i);
        return -1;
    }
    int CharsetIndex() const override { return Charset; }
    void SetCharsetIndex(int Index) override { Charset = Index; }
    std::string CharsetText() const override {
        return Charset < 0 ? std::string() : Charsets[size_t(Charset)].first;
    }
    int SelectedCharset() const override { return Charsets[size_t(Charset)].second; }
    void ResetLanguageLabel() override { LabelReset = true; }

    int IndexOfCode(const std::string& Code) const {
        for (size_t i = 0; i < Languages.size(); ++i)
            if (Languages[i].compare(0, 3, Code) == 0)
                return int(i);
        return -1;
    }
};

// Shows the document's language in the boxes, as the main window does.
struct TLanguageShown : IDocumentObserver {
    TLanguages& Languages;
    explicit TLanguageShown(TLanguages& L) : Languages(L) {}
    void LanguageChanged(const std::string& Code) override { Languages.ShowLanguage(Code); }
};

struct TFixture {
    TStyledGridModel Grid;
    FakeLanguageView View;
    ScriptedUserInterface UI;
    TDocument Doc{Grid, UI};
    const TDocumentState& State = Doc.State();
    TLanguages Languages{Doc, Grid, View};
    TLanguageShown Shown{Languages};
    TFixture() {
        Doc.SetObserver(&Shown);
        ConfigureTable(Grid);
        Grid.SetRowCount(6);
        Keyboard().ClearRequests();
        Languages.InitCharsetBox();
        Languages.InitLanguageList();
    }
    std::string Header() const { return std::string(Grid.Cells(colTranslated, 1)); }
    void Pick(const std::string& Code) {
        View.Language = View.IndexOfCode(Code);
        QVERIFY(View.Language >= 0);
        // As the window's handler: the document takes the pick, then it is stored.
        Doc.SetLanguage(Languages.SelectedCode());
        Languages.LanguagePicked("/opt/kavrino/KavrinoTranslationTool");
    }
};

} // namespace

class TestLanguages : public QObject {
    Q_OBJECT
private slots:
    void charsetTable_data();
    void charsetTable();
    void startupState();
    void pickingLanguages_data();
    void pickingLanguages();
    void pickWritesSettingPerProgramPath();
    void charsetChoiceLeavesLanguageAlone();
    void charsetArialLacks();
    void emptySelectionHeader();
    void openedFileLanguage();
};

void TestLanguages::charsetTable_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("charset");
    const std::pair<const char*, int> Table[] = {
        {"RU", 204}, {"SR", 204}, {"HE", 177}, {"FR", 0},   {"SV", 0},   {"EN", 0},
        {"EL", 161}, {"TR", 162}, {"SK", 238}, {"SL", 238}, {"RO", 238}, {"HR", 238},
        {"HU", 238}, {"CS", 238}, {"BG", 204}, {"PL", 238}, {"UK", 204}, {"ru", 204},
        {"DE", 1},   {"IT", 1},   {"", 1},     {"R", 1},    {"RUS", 1}};
    for (const auto& [Key, Charset] : Table)
        QTest::addRow("'%s'", Key) << Key << Charset;
}

void TestLanguages::charsetTable() {
    QFETCH(QString, key);
    QFETCH(int, charset);
    QCOMPARE(int(CharsetOfLanguageKey(key.toStdString())), charset);
}

void TestLanguages::startupState() {
    TFixture F;
    QCOMPARE(F.View.FontName, std::string("Arial"));
    QVERIFY(F.View.Languages.size() >= 150);
    QCOMPARE(F.Languages.SelectedEntry(), std::string("ENU - English (United States)"));
    QCOMPARE(F.Header(), std::string("ENU - English (United States)"));
    QCOMPARE(F.View.CharsetText(), std::string("(Default)"));
    QCOMPARE(int(F.State.FFontCharset), 0);
    QCOMPARE(int(F.Grid.CellFont(colTranslated, 5).Charset()), 0);
    QCOMPARE(Keyboard().LastRequestedLayout(), 0x0409u);
}

void TestLanguages::pickingLanguages_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("charset");
    QTest::addColumn<QString>("charsetEntry");
    QTest::addColumn<int>("codePage");
    QTest::newRow("RUS") << "RUS" << 204 << "Cyrillic" << 1251;
    QTest::newRow("ELL") << "ELL" << 161 << "Greek" << 1253;
    // Arial here lacks Hebrew: box unchanged
    QTest::newRow("HEB") << "HEB" << 177 << "Cyrillic" << 1255;
    QTest::newRow("TRK") << "TRK" << 162 << "Turkish" << 1254;
    QTest::newRow("PLK") << "PLK" << 238 << "Central European" << 1250;
    QTest::newRow("BGR") << "BGR" << 204 << "Cyrillic" << 1251;
    QTest::newRow("UKR") << "UKR" << 204 << "Cyrillic" << 1251;
    QTest::newRow("DEU") << "DEU" << 1 << "(Default)" << 1252;
    // The default set stands for the code page of the language's own Windows.
    QTest::newRow("JPN") << "JPN" << 1 << "(Default)" << 932;
    QTest::newRow("CHS") << "CHS" << 1 << "(Default)" << 936;
    QTest::newRow("KOR") << "KOR" << 1 << "(Default)" << 949;
}

void TestLanguages::pickingLanguages() {
    QFETCH(QString, code);
    QFETCH(int, charset);
    QFETCH(QString, charsetEntry);
    QFETCH(int, codePage);
    TFixture F;
    if (code == "HEB")
        F.Pick("RUS");
    F.Pick(code.toStdString());
    QCOMPARE(int(F.State.FFontCharset), charset);
    QCOMPARE(TranslatedCodePage(F.State), codePage);
    QCOMPARE(QString::fromStdString(F.View.CharsetText()), charsetEntry);
    QCOMPARE(F.Header(), F.Languages.SelectedEntry() + " - " + charsetEntry.toStdString());
    QCOMPARE(int(F.Grid.CellFont(colTranslated, 2).Charset()), charset);
    QCOMPARE(int(F.Grid.CellFont(colTranslated, 5).Charset()), charset);
    QVERIFY(F.View.LabelReset);
    QCOMPARE(Keyboard().LastRequestedLayout(),
             FindLocaleByAbbreviation(code.toStdString())
                 ? LocalesWithAbbreviation(code.toStdString()).back()->Lcid
                 : 0u);
}

void TestLanguages::pickWritesSettingPerProgramPath() {
    TFixture F;
    F.View.Language = F.View.IndexOfCode("FRA");
    F.Languages.LanguagePicked("/opt/a/KavrinoTranslationTool");
    F.View.Language = F.View.IndexOfCode("DEU");
    F.Languages.LanguagePicked("/opt/b/KavrinoTranslationTool");
    QCOMPARE(ReadLocalisationValue("/opt/a/KavrinoTranslationTool"), QString("FRA"));
    QCOMPARE(ReadLocalisationValue("/opt/b/KavrinoTranslationTool"), QString("DEU"));
}

void TestLanguages::charsetChoiceLeavesLanguageAlone() {
    TFixture F;
    F.Pick("FRA");
    const auto Requests = Keyboard().RequestedLayouts().size();
    const auto Stored = ReadLocalisationValue("/opt/kavrino/KavrinoTranslationTool");
    F.View.Charset = F.View.CharsetIndexOf(161);
    F.Languages.CharsetClick();
    QCOMPARE(int(F.State.FFontCharset), 161);
    QCOMPARE(int(F.Grid.CellFont(colTranslated, 4).Charset()), 161);
    QCOMPARE(F.Header(), F.Languages.SelectedEntry() + " - Greek");
    QCOMPARE(F.Languages.SelectedCode(), std::string("FRA"));
    QCOMPARE(Keyboard().RequestedLayouts().size(), Requests);
    QCOMPARE(ReadLocalisationValue("/opt/kavrino/KavrinoTranslationTool"), Stored);
    // Nothing selected: nothing happens.
    F.View.Charset = -1;
    F.Languages.CharsetClick();
    QCOMPARE(int(F.State.FFontCharset), 161);
}

void TestLanguages::charsetArialLacks() {
    TFixture F;
    F.Pick("TRK");
    F.Pick("HEB");
    QCOMPARE(F.View.CharsetText(), std::string("Turkish"));
    QCOMPARE(int(F.State.FFontCharset), 177);
    QCOMPARE(F.Header(), F.Languages.SelectedEntry() + " - Turkish");
}

void TestLanguages::emptySelectionHeader() {
    TFixture F;
    F.View.Language = -1;
    F.View.Charset = -1;
    F.Languages.ShowLanguage("XYZ");
    QCOMPARE(F.Languages.SelectedEntry(), std::string());
    F.View.Charset = F.View.CharsetIndexOf(0);
    F.Languages.CharsetClick();
    QCOMPARE(F.Header(), std::string(" - Western"));
    QCOMPARE(int(F.Languages.CharsetForLanguage()), 1);
}

void TestLanguages::openedFileLanguage() {
    TFixture F;
    Keyboard().ClearRequests();
    F.Languages.ShowLanguage("RUS");
    QCOMPARE(F.Languages.SelectedCode(), std::string("RUS"));
    QCOMPARE(F.Header(), F.Languages.SelectedEntry() + " - Cyrillic");
    QCOMPARE(Keyboard().RequestedLayouts().size(), size_t(1));
    F.Grid.SetRowCount(9);
    // What the document does with an opened file's language.
    ApplyTranslatedCharset(F.Grid, F.Languages.CharsetForLanguage());
    QCOMPARE(int(F.Grid.CellFont(colTranslated, 8).Charset()), 204);
    // An unknown code keeps the previous language; the keyboard is still asked once.
    F.Languages.ShowLanguage("QQQ");
    QCOMPARE(F.Languages.SelectedCode(), std::string("RUS"));
    QCOMPARE(Keyboard().RequestedLayouts().size(), size_t(2));
}

QTEST_GUILESS_MAIN(TestLanguages)
#include "tst_Languages.moc"
