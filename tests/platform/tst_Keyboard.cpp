#include "platform/Keyboard.h"
#include "platform/Settings.h"

#include <QtTest>

using namespace kav;

namespace {

// Restores an environment variable when the test leaves.
class EnvGuard {
public:
    explicit EnvGuard(const char* Name) : FName(Name), FOld(qgetenv(Name)) {}
    ~EnvGuard() { FOld.isNull() ? qunsetenv(FName) : qputenv(FName, FOld); }

private:
    const char* FName;
    QByteArray FOld;
};

QString ReadAll(const QString& Path) {
    QFile File(Path);
    return File.open(QIODevice::ReadOnly) ? QString::fromUtf8(File.readAll()) : QString();
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void layoutForLocale_data();
    void layoutForLocale();
    void switchesOnlyWhenEnabled_data();
    void switchesOnlyWhenEnabled();
};

void TestKeyboard::layoutForLocale_data() {
    QTest::addColumn<uint>("lcid");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("variant");
    QTest::newRow("FRA") << 0x040Cu << "fr"
                         << "";
    QTest::newRow("FRC") << 0x0C0Cu << "ca"
                         << "";
    QTest::newRow("DEU") << 0x0407u << "de"
                         << "";
    QTest::newRow("ELL") << 0x0408u << "gr"
                         << "";
    QTest::newRow("HEB") << 0x040Du << "il"
                         << "";
    QTest::newRow("SRL") << 0x081Au << "rs"
                         << "latin";
    QTest::newRow("no layout for the language") << 0x0478u << ""
                                                << "";
    QTest::newRow("unknown locale") << 0x7FFFu << ""
                                    << "";
}

void TestKeyboard::layoutForLocale() {
    QFETCH(uint, lcid);
    QFETCH(QString, layout);
    QFETCH(QString, variant);
    const XkbLayout Found = XkbLayoutForLocale(lcid);
    QCOMPARE(Found.Layout, layout);
    QCOMPARE(Found.Variant, variant);
}

void TestKeyboard::switchesOnlyWhenEnabled_data() {
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<bool>("toolOnPath");
    QTest::addColumn<uint>("lcid");
    QTest::addColumn<QString>("query"); // what setxkbmap -query tells of the desktop's layout
    QTest::addColumn<QString>("expectedCall");
    QTest::addColumn<QString>("restoreCall"); // when the window closes
    const QString Us = "rules:      evdev\nmodel:      pc105\nlayout:     us\n";
    QTest::newRow("enabled") << QByteArray("1") << true << 0x0419u << Us << "-layout ru -variant "
                             << "-layout us -variant ";
    QTest::newRow("variant") << QByteArray("1") << true << 0x081Au << Us
                             << "-layout rs -variant latin"
                             << "-layout us -variant ";
    QTest::newRow("layouts and variants at start")
        << QByteArray("1") << true << 0x0419u
        << "layout:     us,de\nvariant:    ,nodeadkeys\noptions:    grp:alt_shift_toggle\n"
        << "-layout ru -variant "
        << "-layout us,de -variant ,nodeadkeys";
    // What could not be read cannot be put back: the desktop keeps its layout.
    QTest::newRow("start layout unreadable") << QByteArray("1") << true << 0x0419u << ""
                                             << ""
                                             << "";
    QTest::newRow("no layout") << QByteArray("1") << true << 0x0478u << Us << ""
                               << "";
    QTest::newRow("no setxkbmap") << QByteArray("1") << false << 0x0419u << Us << ""
                                  << "";
    QTest::newRow("disabled") << QByteArray("0") << true << 0x0419u << Us << ""
                              << "";
    QTest::newRow("unset") << QByteArray() << true << 0x0419u << Us << ""
                           << "";
}

void TestKeyboard::switchesOnlyWhenEnabled() {
    QFETCH(QByteArray, setting);
    QFETCH(bool, toolOnPath);
    QFETCH(uint, lcid);
    QFETCH(QString, query);
    QFETCH(QString, expectedCall);
    QFETCH(QString, restoreCall);
    EnvGuard PathGuard("PATH");
    QTemporaryDir Bin;
    // A stand-in setxkbmap that answers the query and writes down how it was called otherwise.
    const QString Log = Bin.filePath("calls.log");
    const QString Query = Bin.filePath("query.txt");
    QFile Answer(Query);
    QVERIFY(Answer.open(QIODevice::WriteOnly));
    Answer.write(query.toUtf8());
    Answer.close();
    QFile Script(Bin.filePath("setxkbmap"));
    QVERIFY(Script.open(QIODevice::WriteOnly));
    Script.write(QString("#!/bin/sh\nif [ \"$1\" = -query ]; then cat '%1'; exit 0; fi\n"
                         "echo \"$*\" >> '%2'\n")
                     .arg(Query, Log)
                     .toUtf8());
    Script.close();
    Script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", toolOnPath ? Bin.path().toUtf8() + ":/usr/bin:/bin" : QByteArray("/nowhere"));
    // The option as the user left it; never set means off.
    QFile::remove(LocalisationSettingsFile());
    if (!setting.isNull())
        QVERIFY(SetKeyboardSwitching(setting == "1"));

    KeyboardService Service;
    Service.ActivateKeyboardLayout(0x7FFFu);
    const bool Started = Service.ActivateKeyboardLayout(lcid);
    // Every request is recorded, switched or not.
    QCOMPARE(Service.RequestedLayouts(), (std::vector<std::uint32_t>{0x7FFFu, lcid}));
    QCOMPARE(Service.LastRequestedLayout(), lcid);
    QCOMPARE(Started, !expectedCall.isEmpty());
    if (Started)
        QTRY_COMPARE(ReadAll(Log), expectedCall + "\n");
    QCOMPARE(Service.RestoreStartLayout(), !restoreCall.isEmpty());
    if (!restoreCall.isEmpty())
        QTRY_COMPARE(ReadAll(Log), expectedCall + "\n" + restoreCall + "\n");
    // Once put back, a second close changes nothing.
    QVERIFY(!Service.RestoreStartLayout());
}

QTEST_GUILESS_MAIN(TestKeyboard)
#include "tst_Keyboard.moc"
