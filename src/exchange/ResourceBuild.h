#pragma once
// Compile > Make Resource File: writes the resource script into Compiler/ and the build batch
// into the program folder for the saved translated file, then starts the batch, which copies
// the inputs, runs the external compilers srmc and brcc32 and leaves the compiled resource in
// Resource/. The command never waits for the batch.

#include "document/DocumentState.h"
#include "document/UserInterface.h"
#include "exchange/BatchRunner.h"

#include <functional>
#include <string>
#include <string_view>

namespace kav {

constexpr const char* BatchFileName = "MakeKavrinoRes.bat";
constexpr const char* CompilerFolder = "Compiler/";
constexpr const char* ResourceFolder = "Resource/";

// The names of one build.
struct TResourceNames {
    std::string ProgramDir;   // with its trailing "/"
    std::string DocumentPath; // the translated file on disk
    std::string FileName;     // its name part
    std::string FileCode;     // the name without "Kavr_" and its last four characters, case kept
    std::string DocumentDir;  // with its trailing "/"
    std::string LanguageCode; // first three characters of the language entry, upper-cased
    std::string Target;       // the language code, after "User_" for a user file
    std::string ScriptName;   // "KavLang_" + target + ".rc"
    std::string BatchPath;
    std::string ScriptPath;
    // The file the batch compiles: the document folder + "Kavr_" + file code + ".STR".
    std::string CompiledPath;
    // The document path as the batch's copy line names it: quoted, in the interpreter's form
    // and code page; set once the path has been found fit for the batch.
    std::string QuotedDocument;
};

// The names for the document of State in Language: a code or a language entry ("FRA - French
// ..."), of which the first three letters count.
TResourceNames ResourceNames(const TDocumentState& State, const std::string& Language);

// An absolute path as the batch's command interpreter sees it: the native path on Windows;
// elsewhere Wine's drive Z:, which maps the root, with every "/" turned into "\".
std::string InterpreterPath(const std::string& Path);

// Whether Word may stand unquoted in a batch line: not empty, only letters, digits, "_", "-".
bool IsBatchSafeName(std::string_view Word);

// The batch for a document of Kind (fkUser or fkMain), lines ended by CR LF.
std::string BuildBatchText(StrFileKind Kind, const TResourceNames& Names);
// The resource script, lines ended by CR LF.
std::string ResourceScriptText(const TResourceNames& Names);

// Removes the temporary files that a build cut off between writing and renaming left in the
// program folder and its Compiler/ folder.
void RemoveStaleBuildFiles(const std::string& ProgramDir);

struct TResourceOutcome {
    bool Written = false;
    bool StartTried = false;
    TBatchStart Start = TBatchStart::NoRunner;
    std::string BatchPath;
    std::string ScriptPath;
};

// What the window tells after the batch started: the files written, that the batch runs and
// where its output goes.
std::string BuildStartedMessage(const TResourceOutcome& Outcome, const TRunnerProbe& Probe);

// Saves the document; false when the edits are still unsaved afterwards (failed or cancelled).
using TSaveDocument = std::function<bool()>;

class TResourceBuild {
public:
    // Probe decides how the batch is started; the process's own environment by default.
    TResourceBuild(const TDocumentState& State, UserInterface& UI,
                   TRunnerProbe Probe = SystemRunnerProbe());

    // With SaveFirst, a document with unsaved edits asks whether to save them before the build,
    // which always reads the file on disk; without it the build silently takes the saved file.
    void OfferSave(TSaveDocument SaveFirst) { FSaveFirst = std::move(SaveFirst); }

    // The menu command: writes both files, starts the batch and says what it did.
    void MakeResourceFileMenuClick();
    // Every check, then both files; the batch is started only when Launch is set, and then only
    // when the compilers are where the batch finds them.
    TResourceOutcome MakeResourceFile(bool Launch);

private:
    bool CheckDocument();
    bool SaveBeforeBuild();
    bool CheckCompiledFile(const TResourceNames& Names);
    bool CheckNames(TResourceNames& Names);
    bool CheckBatchPath(TResourceNames& Names);
    bool CheckCompilers(const TResourceNames& Names);
    bool WriteFiles(const TResourceNames& Names);
    void Start(TResourceOutcome& Outcome);
    void Refuse(const std::string& Text, TMsgDlgType Type);

    const TDocumentState& S;
    UserInterface& UI;
    TRunnerProbe FProbe;
    TSaveDocument FSaveFirst;
};

} // namespace kav
