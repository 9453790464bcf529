#include "platform/Keyboard.h"

#include <QtTest>

using namespace kav;

namespace {

// Restores an environment variable when the test leaves.
class EnvGuard {
public:
    explicit EnvGuard(const char* Name)
        : FName(Name), FOld(qgetenv(Name)), FHad(qEnvironmentVariableIsSet(Name)) {}
    ~EnvGuard() {
        if (FHad)
            qputenv(FName, FOld);
        else
            qunsetenv(FName);
    }

private:
    const char* FName;
    QByteArray FOld;
    bool FHad;
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
    void recordsEveryRequest();
    void switchesOnlyWhenEnabled_data();
    void switchesOnlyWhenEnabled();
    void missingToolNeverFails();
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
    QTest::newRow("DES") << 0x0807u << "ch"
                         << "";
    QTest::newRow("RUS") << 0x0419u << "ru"
                         << "";
    QTest::newRow("ELL") << 0x0408u << "gr"
                         << "";
    QTest::newRow("HEB") << 0x040Du << "il"
                         << "";
    QTest::newRow("TRK") << 0x041Fu << "tr"
                         << "";
    QTest::newRow("PLK") << 0x0415u << "pl"
                         << "";
    QTest::newRow("UKR") << 0x0422u << "ua"
                         << "";
    QTest::newRow("ENG") << 0x0809u << "gb"
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

void TestKeyboard::recordsEveryRequest() {
    EnvGuard Guard("KAVTOOL_SWITCH_KEYBOARD");
    qunsetenv("KAVTOOL_SWITCH_KEYBOARD");
    KeyboardService Service;
    QCOMPARE(Service.LastRequestedLayout(), 0u);
    // Unknown locales are recorded too: the caller asked, whatever the system can do.
    for (std::uint32_t Lcid : {0x0419u, 0x7FFFu, 0x0408u})
        QVERIFY(!Service.ActivateKeyboardLayout(Lcid));
    QCOMPARE(Service.RequestedLayouts(), (std::vector<std::uint32_t>{0x0419u, 0x7FFFu, 0x0408u}));
    QCOMPARE(Service.LastRequestedLayout(), 0x0408u);
    Service.ClearRequests();
    QVERIFY(Service.RequestedLayouts().empty());
    QCOMPARE(&Keyboard(), &Keyboard());
}

void TestKeyboard::switchesOnlyWhenEnabled_data() {
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<uint>("lcid");
    QTest::addColumn<QString>("expectedCall");
    QTest::newRow("enabled") << QByteArray("1") << 0x0419u << "-layout ru -variant ";
    QTest::newRow("enabled with variant")
        << QByteArray("1") << 0x081Au << "-layout rs -variant latin";
    QTest::newRow("enabled, no layout") << QByteArray("1") << 0x0478u << "";
    QTest::newRow("disabled") << QByteArray("0") << 0x0419u << "";
    QTest::newRow("other value") << QByteArray("yes") << 0x0419u << "";
    QTest::newRow("unset") << QByteArray() << 0x0419u << "";
}

void TestKeyboard::switchesOnlyWhenEnabled() {
    QFETCH(QByteArray, setting);
    QFETCH(uint, lcid);
    QFETCH(QString, expectedCall);
    EnvGuard SwitchGuard("KAVTOOL_SWITCH_KEYBOARD");
    EnvGuard PathGuard("PATH");
    QTemporaryDir Bin;
    QVERIFY(Bin.isValid());
    // A stand-in setxkbmap that writes down how it was called.
    const QString Log = Bin.filePath("calls.log");
    const QString Tool = Bin.filePath("setxkbmap");
    QFile Script(Tool);
    QVERIFY(Script.open(QIODevice::WriteOnly));
    Script.write(QString("#!/bin/sh\necho \"$*\" >> '%1'\n").arg(Log).toUtf8());
    Script.close();
    Script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", Bin.path().toUtf8() + ":/usr/bin:/bin");
    if (setting.isNull())
        qunsetenv("KAVTOOL_SWITCH_KEYBOARD");
    else
        qputenv("KAVTOOL_SWITCH_KEYBOARD", setting);

    KeyboardService Service;
    const bool Started = Service.ActivateKeyboardLayout(lcid);
    QCOMPARE(Service.LastRequestedLayout(), lcid);
    QCOMPARE(Started, !expectedCall.isEmpty());
    if (Started) {
        QTRY_COMPARE(ReadAll(Log), expectedCall + "\n");
    } else {
        QTest::qWait(200);
        QVERIFY(!QFile::exists(Log));
    }
}

void TestKeyboard::missingToolNeverFails() {
    EnvGuard SwitchGuard("KAVTOOL_SWITCH_KEYBOARD");
    EnvGuard PathGuard("PATH");
    QTemporaryDir Empty;
    qputenv("PATH", Empty.path().toUtf8());
    qputenv("KAVTOOL_SWITCH_KEYBOARD", "1");
    KeyboardService Service;
    QVERIFY(!Service.ActivateKeyboardLayout(0x0419u));
    QCOMPARE(Service.LastRequestedLayout(), 0x0419u);
}

QTEST_GUILESS_MAIN(TestKeyboard)
#include "tst_Keyboard.moc"
