// The Kavrino Translation Tool: the editor's entry.

#include "app/Localisation.h"
#include "app/ModalDialogs.h"
#include "document/DocumentState.h"
#include "document/ProgramFolder.h"
#include "measure/TextMeasure.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#include <cstring>
#include <functional>
#include <iostream>
#include <string>

namespace {

// Takes "--screenshot PNG" out of the arguments.
std::string TakeScreenshotOption(int& Argc, char** Argv) {
    for (int i = 1; i + 1 < Argc; ++i) {
        if (std::strcmp(Argv[i], "--screenshot") != 0)
            continue;
        std::string Path = Argv[i + 1];
        for (int j = i; j + 2 <= Argc; ++j)
            Argv[j] = Argv[j + 2];
        Argc -= 2;
        return Path;
    }
    return {};
}

// --version and --help, answered before any window or display is needed, as packaging checks
// run them headless. Qt's own options (-platform ...) are the application's to read later, so
// an option unknown here is not refused.
bool AnsweredWithoutWindow(int Argc, char** Argv) {
    QStringList Args;
    for (int i = 0; i < Argc; ++i)
        Args << QString::fromLocal8Bit(Argv[i]);
    QCommandLineParser Parser;
    const QCommandLineOption Version(QStringLiteral("version"));
    const QCommandLineOption Help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    Parser.addOptions({Version, Help, QCommandLineOption(QStringLiteral("home"), {}, "DIR"),
                       QCommandLineOption(QStringLiteral("screenshot"), {}, "PNG")});
    Parser.parse(Args);
    if (Parser.isSet(Version))
        std::cout << "KavrinoTranslationTool " << KAV_VERSION << "\n";
    else if (Parser.isSet(Help))
        std::cout << "usage: KavrinoTranslationTool [--home DIR] [--screenshot PNG] [FILE]\n"
                     "  --home DIR        the program folder (Default/, Language/, Backup/ ...)\n"
                     "  --screenshot PNG  render the window offscreen into PNG and end\n"
                     "  --version         the program's version\n";
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (AnsweredWithoutWindow(argc, argv))
        return 0;
    std::string ProgramDir = kav::ResolveProgramFolder(argc, argv);
    std::string Screenshot = TakeScreenshotOption(argc, argv);
    kav::TTextMeasure::Shared().SetProductFontFolder(
        QString::fromStdString(kav::ProductFontFolder(ProgramDir)));
    QApplication App(argc, argv);
    kav::NameApplication();
    // An unattended run (--screenshot) must never wait on a box: their texts go to stderr.
    kav::StderrModalDialogs Unattended;
    kav::TMainForm MainForm(ProgramDir, Screenshot.empty() ? nullptr : &Unattended);
    const QStringList Args = App.arguments();
    if (Args.size() > 1)
        MainForm.SetStartFile(QFileInfo(Args[1]).absoluteFilePath().toStdString());
    if (Screenshot.empty()) {
        MainForm.showMaximized();
        return App.exec();
    }
    // Rendered once start-up and the command-line file are done, then the program ends.
    MainForm.resize(1280, 800);
    MainForm.show();
    std::function<void()> Shoot;
    bool Settled = false;
    Shoot = [&] {
        // Timers run while the please-wait window reports progress: the picture waits until
        // the load and the check after it are over, and the status bar has been laid out.
        if (MainForm.Busy() || !Settled) {
            Settled = !MainForm.Busy();
            QTimer::singleShot(100, &MainForm, Shoot);
            return;
        }
        // A picture for others to see: the file's folder on this machine is nobody's business.
        if (Args.size() > 1) {
            const QString Folder = QFileInfo(Args[1]).absolutePath() + "/";
            const QString Shown = QString::fromStdString(MainForm.StatusText(kav::StatusFile));
            MainForm.SetStatusText(kav::StatusFile, QString(Shown).remove(Folder).toStdString());
        }
        const bool Saved = MainForm.grab().save(QString::fromStdString(Screenshot), "PNG");
        if (!Saved)
            std::cerr << "KavrinoTranslationTool: cannot write " << Screenshot << "\n";
        App.exit(Saved ? 0 : 2);
    };
    QTimer::singleShot(200, &MainForm, Shoot);
    return App.exec();
}
