#include "exchange/BatchRunner.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace kav {

namespace {

constexpr const char* LogName = "MakeKavrinoRes.log";

std::string FolderOf(const std::string& Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? std::string("./") : Path.substr(0, Slash + 1);
}

std::string NameOf(const std::string& Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

// The runner's words; empty when no runner is configured or found.
std::vector<std::string> RunnerWords(const TRunnerProbe& Probe) {
    std::vector<std::string> Words;
    if (Probe.RunnerSetting) {
        for (const QString& Word :
             QProcess::splitCommand(QString::fromStdString(*Probe.RunnerSetting)))
            Words.push_back(Word.toStdString());
    } else {
        Words = {"wine", "cmd", "/c"};
    }
    if (Words.empty())
        return Words;
    Words[0] = Probe.FindProgram(Words[0]);
    if (Words[0].empty())
        Words.clear();
    return Words;
}

bool StartDetached(const TBatchLaunch& Launch) {
    QProcess Process;
    Process.setProgram(QString::fromStdString(Launch.Program));
    QStringList Arguments;
    for (const std::string& Argument : Launch.Arguments)
        Arguments << QString::fromStdString(Argument);
    Process.setArguments(Arguments);
    Process.setWorkingDirectory(QString::fromStdString(Launch.WorkingDir));
    if (!Launch.LogPath.empty()) {
        // A closed input lets every "pause" continue at once; both outputs append to one
        // log, emptied first, so that neither overwrites the other.
        QString Log = QString::fromStdString(Launch.LogPath);
        QFile Fresh(Log);
        if (!Fresh.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        Fresh.close();
        Process.setStandardInputFile(QProcess::nullDevice());
        Process.setStandardOutputFile(Log, QIODevice::Append);
        Process.setStandardErrorFile(Log, QIODevice::Append);
    }
    return Process.startDetached();
}

} // namespace

TRunnerProbe SystemRunnerProbe() {
    TRunnerProbe Probe;
    if (const char* Value = std::getenv(BatchRunnerVariable))
        Probe.RunnerSetting = Value;
    Probe.FindProgram = [](const std::string& Name) {
        return QStandardPaths::findExecutable(QString::fromStdString(Name)).toStdString();
    };
    return Probe;
}

std::optional<TBatchLaunch> PlanBatchLaunch(const std::string& BatchPath,
                                            const TRunnerProbe& Probe) {
    std::vector<std::string> Words = RunnerWords(Probe);
    if (Words.empty())
        return std::nullopt;
    Words.push_back(NameOf(BatchPath));
    TBatchLaunch Launch;
    Launch.WorkingDir = FolderOf(BatchPath);
    std::string Terminal = Probe.FindProgram(TerminalProgram);
    if (Terminal.empty()) {
        Launch.Program = Words[0];
        Launch.Arguments.assign(Words.begin() + 1, Words.end());
        Launch.LogPath = Launch.WorkingDir + LogName;
    } else {
        Launch.Program = Terminal;
        Launch.Arguments = {"-e"};
        Launch.Arguments.insert(Launch.Arguments.end(), Words.begin(), Words.end());
    }
    return Launch;
}

bool RunsUnderWine(const TRunnerProbe& Probe) {
    const std::vector<std::string> Words = RunnerWords(Probe);
    return !Words.empty() && NameOf(Words[0]).rfind("wine", 0) == 0;
}

#ifdef _WIN32
TBatchStart StartBatch(const std::string& BatchPath, const TRunnerProbe&) {
    // The batch names its inputs relative to its own folder.
    QString Path = QString::fromStdString(BatchPath);
    QString Folder = QFileInfo(Path).absolutePath();
    HINSTANCE Result =
        ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(Path.utf16()), nullptr,
                      reinterpret_cast<const wchar_t*>(Folder.utf16()), SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(Result) > 32 ? TBatchStart::Started : TBatchStart::Failed;
}
#else
TBatchStart StartBatch(const std::string& BatchPath, const TRunnerProbe& Probe) {
    std::optional<TBatchLaunch> Launch = PlanBatchLaunch(BatchPath, Probe);
    if (!Launch)
        return TBatchStart::NoRunner;
    return StartDetached(*Launch) ? TBatchStart::Started : TBatchStart::Failed;
}
#endif

std::string NoRunnerMessage(const std::string& BatchPath) {
    return "The build batch was written to " + BatchPath +
           " but not started: it needs a Windows command interpreter with srmc and brcc32. "
           "Install Wine, or set " +
           BatchRunnerVariable + " to the command that runs a batch file.";
}

std::string RunnerFailedMessage(const std::string& BatchPath) {
    return "Cannot start the build batch " + BatchPath;
}

} // namespace kav
