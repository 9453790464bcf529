#include "widgets/FontCharsetCombo.h"

#include "platform/FontInfo.h"

#include <QFontDatabase>
#include <QtTest>

using namespace kav;

namespace {

const QString kMissingFont = QStringLiteral("Kav Missing Face");
// Stands for "the first entry, whatever it carries" in the tables below.
constexpr int kFirstEntry = -2;

// An installed family that has letters of some code page but no Cyrillic, or empty.
QString FontWithoutCyrillic() {
    for (const QString& Family : QFontDatabase::families()) {
        const std::vector<FontCharset> Sets = FontCharsets(Family);
        const bool Cyrillic = std::any_of(Sets.begin(), Sets.end(), [](const FontCharset& S) {
            return S.Charset == RussianCharset;
        });
        if (!Sets.empty() && !Cyrillic)
            return Family;
    }
    return {};
}

QString Resolve(const QString& Family) {
    return Family == "<no Cyrillic>" ? FontWithoutCyrillic() : Family;
}

QStringList Texts(const QComboBox& Box) {
    QStringList List;
    for (int I = 0; I < Box.count(); ++I)
        List << Box.itemText(I);
    return List;
}

// Counts the click notifications and remembers what was selected when each came.
struct ClickRecorder {
    int Calls = 0;
    QList<int> SelectedAtCall;
    void Attach(TFontCharsetComboBox& Box) {
        Box.SetOnClick([this, &Box](QObject* Sender) {
            QCOMPARE(Sender, &Box);
            ++Calls;
            SelectedAtCall << Box.currentIndex();
        });
    }
};

} // namespace

class TestFontCharsetCombo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void startsEmpty();
    void listsScriptsOfInstalledFont_data();
    void listsScriptsOfInstalledFont();
    void selectionAfterRebuild_data();
    void selectionAfterRebuild();
    void emptyFontNameRaisesNoClick();
    void addDefaultCharsetRebuildsOnlyOnChange();
    void captionTakesEffectAtNextRebuild();
    void indexOfCharset_data();
    void indexOfCharset();
    void charsetsOutsideTheList();
    void userPickClicksOnce();
};

void TestFontCharsetCombo::initTestCase() {
    if (!IsFontInstalled("Arial"))
        QSKIP("Arial (or Liberation Sans standing in for it) is not installed");
}

void TestFontCharsetCombo::startsEmpty() {
    TFontCharsetComboBox Box;
    QVERIFY(Box.FontName().isEmpty());
    QVERIFY(!Box.AddDefaultCharset());
    QCOMPARE(Box.DefaultCharsetCaption(), QString("(Default)"));
    QCOMPARE(Box.count(), 0);
    QVERIFY(!Box.isEditable());
}

void TestFontCharsetCombo::listsScriptsOfInstalledFont_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("addDefault");
    QTest::newRow("Arial with default") << "Arial" << true;
    QTest::newRow("Arial without default") << "Arial" << false;
    QTest::newRow("Courier New") << "Courier New" << true;
    QTest::newRow("font not installed") << kMissingFont << true;
    QTest::newRow("font not installed, no default") << kMissingFont << false;
}

void TestFontCharsetCombo::listsScriptsOfInstalledFont() {
    QFETCH(QString, family);
    QFETCH(bool, addDefault);
    TFontCharsetComboBox Box;
    Box.SetAddDefaultCharset(addDefault);
    Box.SetFontName(family);

    // Expected: the font's scripts, alphabetically, then the default entry.
    std::vector<FontCharset> Sets = FontCharsets(family);
    std::sort(Sets.begin(), Sets.end(), [](const FontCharset& A, const FontCharset& B) {
        return A.ScriptName.compare(B.ScriptName, Qt::CaseInsensitive) < 0;
    });
    QStringList ExpectedTexts;
    QList<int> ExpectedSets;
    for (const FontCharset& S : Sets) {
        ExpectedTexts << S.ScriptName;
        ExpectedSets << S.Charset;
    }
    if (addDefault) {
        ExpectedTexts << "(Default)";
        ExpectedSets << DefaultCharset;
    }
    QCOMPARE(Texts(Box), ExpectedTexts);
    for (int I = 0; I < Box.count(); ++I)
        QCOMPARE(int(Box.Charsets(I)), ExpectedSets.at(I));
    QCOMPARE(Box.currentIndex(), Box.count() > 0 ? 0 : -1);
    if (family == "Arial") {
        for (const char* Script : {"Western", "Central European", "Cyrillic", "Greek", "Turkish",
                                   "Baltic", "Vietnamese"})
            QVERIFY2(Texts(Box).contains(Script), Script);
    }
}

void TestFontCharsetCombo::selectionAfterRebuild_data() {
    QTest::addColumn<QString>("firstFont");
    QTest::addColumn<int>("selectedCharset");
    QTest::addColumn<QString>("secondFont");
    QTest::addColumn<bool>("addDefault");
    QTest::addColumn<int>("expectedCharset");
    QTest::newRow("same font keeps the set") << "Arial" << 204 << "Arial" << true << 204;
    QTest::newRow("other font with the set") << "Arial" << 161 << "Times New Roman" << true << 161;
    QTest::newRow("default entry kept") << "Arial" << 1 << kMissingFont << true << 1;
    QTest::newRow("missing font: only the default, selected")
        << "Arial" << 204 << kMissingFont << true << 1;
    QTest::newRow("missing font, no default: nothing selected")
        << "Arial" << 204 << kMissingFont << false << -1;
    QTest::newRow("set lost: first entry")
        << "Arial" << 204 << "<no Cyrillic>" << true << kFirstEntry;
    QTest::newRow("nothing selected before: first entry")
        << "" << -1 << "Arial" << true << kFirstEntry;
}

void TestFontCharsetCombo::selectionAfterRebuild() {
    QFETCH(QString, firstFont);
    QFETCH(int, selectedCharset);
    QFETCH(QString, secondFont);
    QFETCH(bool, addDefault);
    QFETCH(int, expectedCharset);
    secondFont = Resolve(secondFont);
    if (secondFont.isEmpty())
        QSKIP("no installed font lacks Cyrillic");
    TFontCharsetComboBox Box;
    Box.SetAddDefaultCharset(addDefault);
    Box.SetFontName(firstFont);
    if (selectedCharset >= 0) {
        QVERIFY(Box.IndexOfCharset(selectedCharset) >= 0);
        Box.setCurrentIndex(Box.IndexOfCharset(selectedCharset));
    }
    ClickRecorder Clicks;
    Clicks.Attach(Box);
    Box.SetFontName(secondFont);

    const int Expected = expectedCharset == kFirstEntry ? 0
                         : expectedCharset < 0          ? -1
                                                        : Box.IndexOfCharset(expectedCharset);
    QVERIFY(expectedCharset < 0 || Expected >= 0);
    QCOMPARE(Box.currentIndex(), Expected);
    // Called once, after the selection was made.
    QCOMPARE(Clicks.Calls, 1);
    QCOMPARE(Clicks.SelectedAtCall, QList<int>{Expected});
}

void TestFontCharsetCombo::emptyFontNameRaisesNoClick() {
    TFontCharsetComboBox Box;
    Box.SetAddDefaultCharset(true);
    Box.SetFontName("Arial");
    QVERIFY(Box.count() > 1);
    ClickRecorder Clicks;
    Clicks.Attach(Box);
    Box.SetFontName("");
    QCOMPARE(Box.count(), 0);
    QCOMPARE(Box.currentIndex(), -1);
    QCOMPARE(Clicks.Calls, 0);
    // The same name again still rebuilds.
    Box.SetFontName("Arial");
    Box.SetFontName("Arial");
    QCOMPARE(Clicks.Calls, 2);
}

void TestFontCharsetCombo::addDefaultCharsetRebuildsOnlyOnChange() {
    TFontCharsetComboBox Box;
    Box.SetFontName("Arial");
    const int Scripts = Box.count();
    QCOMPARE(Box.IndexOfCharset(DefaultCharset), -1);
    ClickRecorder Clicks;
    Clicks.Attach(Box);
    Box.SetAddDefaultCharset(false);
    QCOMPARE(Clicks.Calls, 0);
    Box.SetAddDefaultCharset(true);
    QCOMPARE(Clicks.Calls, 1);
    QCOMPARE(Box.count(), Scripts + 1);
    QCOMPARE(Box.IndexOfCharset(DefaultCharset), Scripts);
    Box.setCurrentIndex(Scripts);
    Box.SetAddDefaultCharset(false);
    QCOMPARE(Clicks.Calls, 2);
    QCOMPARE(Box.count(), Scripts);
    QCOMPARE(Box.currentIndex(), 0);
}

void TestFontCharsetCombo::captionTakesEffectAtNextRebuild() {
    TFontCharsetComboBox Box;
    Box.SetAddDefaultCharset(true);
    Box.SetFontName(kMissingFont);
    Box.SetDefaultCharsetCaption("Standard");
    QCOMPARE(Texts(Box), QStringList{"(Default)"});
    Box.SetFontName(kMissingFont);
    QCOMPARE(Texts(Box), QStringList{"Standard"});
}

void TestFontCharsetCombo::indexOfCharset_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("charset");
    QTest::addColumn<bool>("found");
    QTest::newRow("Arial has Cyrillic") << "Arial" << 204 << true;
    QTest::newRow("only the low byte counts") << "Arial" << 0x1CC << true;
    QTest::newRow("low byte of -1 is 255") << "Arial" << -1 << false;
    QTest::newRow("no Macintosh entry") << "Arial" << 77 << false;
    QTest::newRow("font without Cyrillic") << "<no Cyrillic>" << 204 << false;
    QTest::newRow("font not installed") << kMissingFont << 204 << false;
    QTest::newRow("default entry of a missing font") << kMissingFont << 1 << true;
}

void TestFontCharsetCombo::indexOfCharset() {
    QFETCH(QString, family);
    QFETCH(int, charset);
    QFETCH(bool, found);
    family = Resolve(family);
    if (family.isEmpty())
        QSKIP("no installed font lacks Cyrillic");
    TFontCharsetComboBox Box;
    Box.SetAddDefaultCharset(true);
    Box.SetFontName(family);
    const int Index = Box.IndexOfCharset(charset);
    QCOMPARE(Index >= 0, found);
    if (found)
        QCOMPARE(int(Box.Charsets(Index)), charset & 0xFF);
}

void TestFontCharsetCombo::charsetsOutsideTheList() {
    TFontCharsetComboBox Box;
    Box.SetAddDefaultCharset(true);
    Box.SetFontName(kMissingFont);
    QCOMPARE(int(Box.Charsets(0)), int(DefaultCharset));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, Box.Charsets(1));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, Box.Charsets(-1));
}

void TestFontCharsetCombo::userPickClicksOnce() {
    TFontCharsetComboBox Box;
    Box.SetAddDefaultCharset(true);
    Box.SetFontName("Arial");
    ClickRecorder Clicks;
    Clicks.Attach(Box);
    // A program selection is not a click.
    Box.setCurrentIndex(2);
    QCOMPARE(Clicks.Calls, 0);
    QTest::keyClick(&Box, Qt::Key_Down);
    QCOMPARE(Clicks.Calls, 1);
    QCOMPARE(Clicks.SelectedAtCall, QList<int>{3});
}

QTEST_MAIN(TestFontCharsetCombo)
#include "tst_FontCharsetCombo.moc"
