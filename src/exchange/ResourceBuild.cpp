#include "exchange/ResourceBuild.h"

#include "document/Document.h"
#include "document/FileCopy.h"
#include "document/IoStatus.h"
#include "document/StrFile.h"
#include "document/ToolError.h"
#include "exchange/CompilerSearch.h"
#include "exchange/InterpreterCodePage.h"
#include "platform/FileSystem.h"
#include "text/StringUtils.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kav {

namespace {

constexpr const char* LineEnd = "\r\n";
// The characters "Kavr_" before the file code and ".str" after it.
constexpr long long CodeStart = 6;
constexpr long long ExtensionLength = 4;

std::string Joined(const std::vector<std::string>& Lines) {
    std::string Text;
    for (const std::string& Line : Lines)
        Text += Line + LineEnd;
    return Text;
}

// Inside double quotes the interpreter still expands "%NAME%"; a doubled "%" stays literal.
std::string PathForBatch(const std::string& Path) {
    return ReplaceAll(InterpreterPath(Path), "%", "%%");
}

// A double quote would end the quoting early and a line break would start a new command.
bool CanQuote(std::string_view Path) {
    for (char C : Path)
        if (C == '"' || static_cast<unsigned char>(C) < 32)
            return false;
    return true;
}

// The batch runs in the program folder, so a relative document path would name another file.
std::string AbsolutePath(const std::string& Path) {
    std::error_code Ec;
    std::filesystem::path Full = std::filesystem::absolute(Path, Ec);
    return Ec ? Path : Full.lexically_normal().string();
}

// Whether Folder holds a file named Name in any letter case, as the interpreter finds it.
bool HasFileIgnoringCase(const std::string& Folder, const std::string& Name) {
    std::error_code Ec;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder, Ec))
        if (SameIgnoringCase(Entry.path().filename().string(), Name) &&
            IsFile(Entry.path().string()))
            return true;
    return false;
}

bool IsEnterableFolder(const std::string& Path) {
    std::error_code Ec;
    return std::filesystem::is_directory(Path, Ec) && ::access(Path.c_str(), X_OK) == 0;
}

bool WriteAll(int Fd, const std::string& Bytes) {
    size_t Done = 0;
    while (Done < Bytes.size()) {
        ssize_t N = ::write(Fd, Bytes.data() + Done, Bytes.size() - Done);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            return false;
        Done += static_cast<size_t>(N);
    }
    return true;
}

enum class TWriteStage { Done, Open, Write, Close };

struct TWriteResult {
    TWriteStage Failed = TWriteStage::Done;
    int Status = 0;
};

TWriteResult FailedAt(TWriteStage Stage, int Errno) {
    return {Stage, IoStatusFromErrno(Errno)};
}

// Writes Bytes to a temporary file beside Path and renames it over Path, so that a failure
// leaves the previous file whole and a batch still running keeps reading its own copy.
// The temporary file is named as the saves name theirs, so that the same clean-up finds it when
// a crash leaves it behind.
TWriteResult ReplaceFile(const std::string& Path, const std::string& Bytes) {
    std::string Temp = TempFilePrefix(Path) + "XXXXXX";
    int Fd = ::mkostemp(Temp.data(), O_CLOEXEC);
    if (Fd < 0)
        return FailedAt(TWriteStage::Open, errno);
    const mode_t Mask = ::umask(0);
    ::umask(Mask);
    (void)::fchmod(Fd, 0666 & ~Mask);
    TWriteResult Result;
    if (!WriteAll(Fd, Bytes))
        Result = FailedAt(TWriteStage::Write, errno);
    if (::fsync(Fd) != 0 && Result.Failed == TWriteStage::Done)
        Result = FailedAt(TWriteStage::Close, errno);
    if (::close(Fd) != 0 && Result.Failed == TWriteStage::Done)
        Result = FailedAt(TWriteStage::Close, errno);
    if (Result.Failed == TWriteStage::Done && ::rename(Temp.c_str(), Path.c_str()) != 0)
        Result = FailedAt(TWriteStage::Write, errno);
    if (Result.Failed != TWriteStage::Done)
        ::unlink(Temp.c_str());
    return Result;
}

void MakeFolder(const std::string& Path) {
    if (!EnsureFolder(Path))
        throw ToolError("Cannot create " + Path);
}

std::string UnsafeNameMessage(const std::string& Path, const char* What, const std::string& Value) {
    return "Can not Compile " + Path + ": " + What + " \"" + Value +
           "\" may hold only letters, digits, \"_\" and \"-\".";
}

} // namespace

TResourceNames ResourceNames(const TDocumentState& State, const std::string& Language) {
    TResourceNames N;
    N.ProgramDir = State.FProgramDir;
    N.DocumentPath = AbsolutePath(State.FFileName);
    N.FileName = FileNamePart(N.DocumentPath);
    const long long Length = static_cast<long long>(N.FileName.size());
    N.FileCode = CopyRange(N.FileName, CodeStart, Length - ExtensionLength);
    N.DocumentDir = FolderPart(N.DocumentPath);
    N.LanguageCode = UpperCase(CopyRange(Language, 1, 3));
    N.Target = State.FFileKind == fkUser ? "User_" + N.LanguageCode : N.LanguageCode;
    N.ScriptName = "KavLang_" + N.Target + ".rc";
    N.BatchPath = N.ProgramDir + BatchFileName;
    N.ScriptPath = N.ProgramDir + CompilerFolder + N.ScriptName;
    N.CompiledPath = N.DocumentDir + "Kavr_" + N.FileCode + ".STR";
    return N;
}

std::string InterpreterPath(const std::string& Path) {
#ifdef _WIN32
    return ReplaceAll(Path, "/", "\\");
#else
    return "Z:" + ReplaceAll(Path, "/", "\\");
#endif
}

bool IsBatchSafeName(std::string_view Word) {
    if (Word.empty())
        return false;
    // ASCII only: the batch's code page may read any other byte as something else.
    for (char C : Word) {
        bool Plain = (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') ||
                     C == '_' || C == '-';
        if (!Plain)
            return false;
    }
    return true;
}

std::string BuildBatchText(StrFileKind Kind, const TResourceNames& N) {
    std::vector<std::string> Lines;
    if (Kind == fkUser)
        Lines = {"copy \"Default\\UserLanguage.inc\" Compiler",
                 "copy \"Default\\Kavr_User_Enu.str\" Compiler"};
    else
        Lines = {"copy Default\\Kavlang.inc Compiler", "copy Default\\Kavr_Enu.str Compiler"};
    // Each step jumps over its "pause" when it succeeds; a failing step stops on the pause
    // and then skips to the end.
    std::vector<std::string> Rest = {
        "IF NOT ERRORLEVEL 1 GOTO CHDIR1",
        "pause",
        "GOTO END",
        "",
        ":CHDIR1",
        "copy " + N.QuotedDocument + " Compiler",
        "IF NOT ERRORLEVEL 1 GOTO SRMC1",
        "pause",
        "GOTO END",
        "",
        ":SRMC1",
        "CD Compiler",
        "srmc -32 Kavr_" + N.FileCode + ".STR",
        "IF NOT ERRORLEVEL 1 GOTO BRCC1",
        "PAUSE",
        "GOTO END",
        "",
        ":BRCC1",
        "brcc32 " + N.ScriptName,
        "IF NOT ERRORLEVEL 1 GOTO NEXTDEL",
        "PAUSE",
        "GOTO END",
        "",
        ":NEXTDEL",
        "del *.srm",
        "del *.inc",
        "del *.str",
        "del *.rc",
        "CD ..",
        "copy compiler\\KavLang_" + N.Target + ".res resource",
        "CD Compiler",
        "del KavLang_" + N.Target + ".res",
        "CD ..",
        ":END",
        "",
    };
    Lines.insert(Lines.end(), Rest.begin(), Rest.end());
    return Joined(Lines);
}

std::string ResourceScriptText(const TResourceNames& N) {
    return Joined({";resource script for Kavrino", "",
                   "LANGUAGE_KAVR_" + N.FileCode + " RCDATA KAVR_" + N.FileCode + ".SRM"});
}

void RemoveStaleBuildFiles(const std::string& ProgramDir) {
    RemoveStaleTempFiles(ProgramDir);
    RemoveStaleTempFiles(ProgramDir + CompilerFolder);
}

TResourceBuild::TResourceBuild(const TDocumentState& State, UserInterface& UI, TRunnerProbe Probe)
    : S(State), UI(UI), FProbe(std::move(Probe)) {}

void TResourceBuild::Refuse(const std::string& Text, TMsgDlgType Type) {
    UI.Beep();
    UI.MessageDlg(Text, Type, mbOK);
}

bool TResourceBuild::CheckDocument() {
    if (S.FFileKind == fkNone) {
        Refuse("No open file to Compile", TMsgDlgType::mtError);
        return false;
    }
    if (S.FUntitled) {
        Refuse("Can not Compile: File not saved", TMsgDlgType::mtError);
        return false;
    }
    return true;
}

// The build reads the file on disk: edits not yet saved would silently be left out of it.
bool TResourceBuild::SaveBeforeBuild() {
    if (!FSaveFirst || !S.FModified)
        return true;
    switch (UI.MessageDlg("Save changes before building?", TMsgDlgType::mtConfirmation,
                          mbYesNoCancel)) {
    case TModalResult::mrYes:
        return FSaveFirst();
    case TModalResult::mrNo:
        return true;
    default:
        return false;
    }
}

// The batch copies the document into Compiler/ and then compiles "Kavr_" + code + ".STR" there:
// that name must be the document's own, or the build would compile a stale copy or nothing.
bool TResourceBuild::CheckCompiledFile(const TResourceNames& N) {
    const std::string Compiled = FileNamePart(N.CompiledPath);
    if (!HasFileIgnoringCase(N.DocumentDir, Compiled)) {
        Refuse("File not found:\n\r" + N.CompiledPath, TMsgDlgType::mtInformation);
        return false;
    }
    if (!SameIgnoringCase(N.FileName, Compiled) || !IsFile(N.DocumentPath)) {
        Refuse("Can not Compile " + N.DocumentPath + ": the build compiles " + Compiled +
                   ", another file. Save the document under that name first.",
               TMsgDlgType::mtError);
        return false;
    }
    return true;
}

// The file code and the target stand unquoted in batch lines, and the document path inside
// quotes: nothing in them may turn into a command of its own.
bool TResourceBuild::CheckNames(TResourceNames& N) {
    if (!IsBatchSafeName(N.FileCode)) {
        Refuse(UnsafeNameMessage(N.DocumentPath, "the file code", N.FileCode),
               TMsgDlgType::mtError);
        return false;
    }
    if (N.LanguageCode.empty()) {
        S.Observer().LanguageMissing();
        Refuse("Can not Compile " + N.DocumentPath + ": no language selected",
               TMsgDlgType::mtError);
        return false;
    }
    if (!IsBatchSafeName(N.Target)) {
        Refuse(UnsafeNameMessage(N.DocumentPath, "the target name", N.Target),
               TMsgDlgType::mtError);
        return false;
    }
    if (!CanQuote(N.DocumentPath)) {
        Refuse("Can not Compile " + N.DocumentPath +
                   ": a path holding a double quote or a control character cannot go into the "
                   "batch.",
               TMsgDlgType::mtError);
        return false;
    }
    return CheckBatchPath(N);
}

// The interpreter reads the batch in its own code page and splits paths at every backslash:
// a path it would read differently names another file, so the translator has to move the file.
bool TResourceBuild::CheckBatchPath(TResourceNames& N) {
#ifndef _WIN32
    if (N.DocumentPath.find('\\') != std::string::npos) {
        Refuse("Can not Compile " + N.DocumentPath +
                   ": the character \"\\\" in a folder name would split the path in the batch. "
                   "Move the file to another folder.",
               TMsgDlgType::mtError);
        return false;
    }
#endif
    const int CodePage = InterpreterCodePage();
    const TOemText Path = EncodeForInterpreter(PathForBatch(N.DocumentPath), CodePage);
    if (!Path.Ok) {
        const std::string Reads = CodePage == AsciiOnly
                                      ? "no code page beyond ASCII under this locale"
                                      : "code page " + std::to_string(CodePage);
        Refuse("Can not Compile " + N.DocumentPath + ": the character \"" + Path.BadChar +
                   "\" cannot go into the batch, whose command interpreter reads " + Reads +
                   ". Move the file to another folder.",
               TMsgDlgType::mtError);
        return false;
    }
    N.QuotedDocument = "\"" + Path.Bytes + "\"";
    return true;
}

// A batch started without its compilers fails in its console only, after the window has said
// that the build started: look for them first, where the batch's interpreter will. A runner
// other than Wine has a search path of its own that cannot be known here.
bool TResourceBuild::CheckCompilers(const TResourceNames& N) {
#ifndef _WIN32
    if (!RunsUnderWine(FProbe))
        return true;
#endif
    const std::string Folder = N.ProgramDir + CompilerFolder;
    const std::vector<std::string> SearchPath = BatchSearchPath();
    const std::vector<std::string> Missing = MissingCompilers(Folder, SearchPath);
    if (Missing.empty())
        return true;
    Refuse(MissingCompilersMessage(Missing, Folder, SearchPath), TMsgDlgType::mtError);
    return false;
}

bool TResourceBuild::WriteFiles(const TResourceNames& N) {
    // The script first: the batch, the file that gets started, changes only when both succeed.
    const std::pair<const std::string*, std::string> Files[] = {
        {&N.ScriptPath, ResourceScriptText(N)}, {&N.BatchPath, BuildBatchText(S.FFileKind, N)}};
    for (const auto& [Path, Bytes] : Files) {
        TWriteResult Result = ReplaceFile(*Path, Bytes);
        switch (Result.Failed) {
        case TWriteStage::Done:
            break;
        case TWriteStage::Open:
            UI.MessageDlg(IoStatusMessage(Result.Status, *Path), TMsgDlgType::mtWarning, mbOK);
            return false;
        case TWriteStage::Write:
            throw ToolError(IoStatusMessage(Result.Status, *Path));
        case TWriteStage::Close:
            UI.MessageDlg(FileAccessErrorMessage(*Path), TMsgDlgType::mtWarning, mbOK);
            return false;
        }
    }
    return true;
}

void TResourceBuild::Start(TResourceOutcome& Outcome) {
    Outcome.StartTried = true;
    Outcome.Start = StartBatch(Outcome.BatchPath, FProbe);
    if (Outcome.Start == TBatchStart::NoRunner)
        UI.MessageDlg(NoRunnerMessage(Outcome.BatchPath), TMsgDlgType::mtInformation, mbOK);
    else if (Outcome.Start == TBatchStart::Failed)
        UI.MessageDlg(RunnerFailedMessage(Outcome.BatchPath), TMsgDlgType::mtWarning, mbOK);
}

std::string BuildStartedMessage(const TResourceOutcome& Outcome, const TRunnerProbe& Probe) {
    std::string Text = "Wrote " + Outcome.ScriptPath + " and " + Outcome.BatchPath +
                       ".\nThe build batch was started";
    const std::optional<TBatchLaunch> Launch = PlanBatchLaunch(Outcome.BatchPath, Probe);
    if (Launch && !Launch->LogPath.empty())
        Text += "; its output goes to " + Launch->LogPath;
    else
        Text += " in a terminal window";
    return Text + ". The resource file appears in the Resource folder when the compilers are done.";
}

void TResourceBuild::MakeResourceFileMenuClick() {
    // Without a word here the translator cannot tell a build that runs from one that never
    // started; the failures have said so already.
    const TResourceOutcome Outcome = MakeResourceFile(true);
    if (Outcome.StartTried && Outcome.Start == TBatchStart::Started)
        UI.MessageDlg(BuildStartedMessage(Outcome, FProbe), TMsgDlgType::mtInformation, mbOK);
}

TResourceOutcome TResourceBuild::MakeResourceFile(bool Launch) {
    TResourceOutcome Outcome;
    if (!CheckDocument() || !SaveBeforeBuild())
        return Outcome;
    TResourceNames N = ResourceNames(S, S.FLanguageCode);
    Outcome.BatchPath = N.BatchPath;
    Outcome.ScriptPath = N.ScriptPath;
    // The batch runs in the program folder; one that cannot be entered ends the command.
    if (!IsEnterableFolder(N.ProgramDir) || !CheckCompiledFile(N) || !CheckNames(N) ||
        (Launch && !CheckCompilers(N)))
        return Outcome;
    try {
        MakeFolder(N.ProgramDir + CompilerFolder);
        MakeFolder(N.ProgramDir + ResourceFolder);
        RemoveStaleBuildFiles(N.ProgramDir);
        Outcome.Written = WriteFiles(N);
    } catch (const ToolError& E) {
        UI.ShowError(E.what());
        return Outcome;
    }
    if (Outcome.Written && Launch)
        Start(Outcome);
    return Outcome;
}

} // namespace kav
