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
    void listsScriptsOfInstalledFont_data();
    void listsScriptsOfInstalledFont();
    void selectionAfterRebuild_data();
    void selectionAfterRebuild();
    void indexOfCharset_data();
    void indexOfCharset();
    void clicks_data();
    void clicks();
};

void TestFontCharsetCombo::initTestCase() {
    if (!IsFontInstalled("Arial"))
        QSKIP("Arial (or Liberation Sans standing in for it) is not installed");
}

void TestFontCharsetCombo::listsScriptsOfInstalledFont_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("addDefault");
    QTest::newRow("Arial with default") << "Arial" << true;
    QTest::newRow("Courier New without default") << "Courier New" << false;
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

void TestFontCharsetCombo::indexOfCharset_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("charset");
    QTest::addColumn<bool>("found");
    QTest::newRow("Arial has Cyrillic") << "Arial" << 204 << true;
    QTest::newRow("only the low byte counts") << "Arial" << 0x1CC << true;
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

void TestFontCharsetCombo::clicks_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("selected");
    QTest::newRow("same name rebuilds") << QStringList{"font Arial"} << 1 << 2;
    QTest::newRow("empty name empties, no click") << QStringList{"font "} << 0 << -1;
    QTest::newRow("unchanged default: no rebuild") << QStringList{"default 1"} << 0 << 2;
    QTest::newRow("default dropped") << QStringList{"select last", "default 0"} << 1 << 0;
    QTest::newRow("program selection is no click") << QStringList{"select 4"} << 0 << 4;
    QTest::newRow("user pick") << QStringList{"key"} << 1 << 3;
    QTest::newRow("caption at next rebuild")
        << QStringList{"caption Standard", "font Kav Missing Face"} << 1 << 0;
}

void TestFontCharsetCombo::clicks() {
    QFETCH(QStringList, steps);
    QFETCH(int, clicks);
    QFETCH(int, selected);
    TFontCharsetComboBox Box;
    QCOMPARE(Box.DefaultCharsetCaption(), QString("(Default)"));
    Box.SetAddDefaultCharset(true);
    Box.SetFontName("Arial");
    Box.setCurrentIndex(2);
    ClickRecorder Clicks;
    Clicks.Attach(Box);
    for (const QString& Step : steps) {
        const QString Verb = Step.section(' ', 0, 0), Arg = Step.section(' ', 1);
        if (Verb == "font")
            Box.SetFontName(Arg);
        else if (Verb == "default")
            Box.SetAddDefaultCharset(Arg == "1");
        else if (Verb == "select")
            Box.setCurrentIndex(Arg == "last" ? Box.count() - 1 : Arg.toInt());
        else if (Verb == "caption")
            Box.SetDefaultCharsetCaption(Arg);
        else
            QTest::keyClick(&Box, Qt::Key_Down);
    }
    QCOMPARE(Clicks.Calls, clicks);
    QCOMPARE(Box.currentIndex(), selected);
    QCOMPARE(Clicks.SelectedAtCall, QList<int>(clicks, selected));
    if (Box.AddDefaultCharset() && Box.count() > 0) {
        QCOMPARE(int(Box.Charsets(Box.count() - 1)), int(DefaultCharset));
        QCOMPARE(Box.itemText(Box.count() - 1),
                 steps.contains("caption Standard") ? "Standard" : "(Default)");
    }
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, Box.Charsets(Box.count()));
}

QTEST_MAIN(TestFontCharsetCombo)
#include "tst_FontCharsetCombo.moc"
