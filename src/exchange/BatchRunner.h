#pragma once
// Starting a Windows batch file and not waiting for it. On Windows the shell opens it; elsewhere
// a configured command interpreter runs it (Wine's cmd by default), in a terminal window when
// there is one so that the user sees the output and the pauses, otherwise detached with its
// output in a log file beside the batch.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kav {

// Environment variable holding the command that runs a batch file ("wine cmd /c"); the batch
// file name is appended. Set but blank, it means that no runner is wanted.
constexpr const char* BatchRunnerVariable = "KAVTOOL_BATCH_RUNNER";
constexpr const char* TerminalProgram = "x-terminal-emulator";

// What the runner choice looks at, so that the choice can be made for any machine.
struct TRunnerProbe {
    // The value of KAVTOOL_BATCH_RUNNER; no value when the variable is not set.
    std::optional<std::string> RunnerSetting;
    // Full path of an executable program found by name (or given by path); empty when missing.
    std::function<std::string(const std::string&)> FindProgram;
};

// The probe of this process: its environment and its search path.
TRunnerProbe SystemRunnerProbe();

struct TBatchLaunch {
    std::string Program; // full path
    std::vector<std::string> Arguments;
    std::string WorkingDir;
    // The log that receives the output when no terminal shows it; empty in a terminal.
    std::string LogPath;
};

// How BatchPath would be started, in its own folder; no value when no runner exists.
std::optional<TBatchLaunch> PlanBatchLaunch(const std::string& BatchPath,
                                            const TRunnerProbe& Probe);

// Whether the batch runs under Wine's command interpreter (the runner's program is named wine...),
// whose search path is the prefix's.
bool RunsUnderWine(const TRunnerProbe& Probe);

enum class TBatchStart { Started, NoRunner, Failed };

// Starts BatchPath detached and returns at once.
TBatchStart StartBatch(const std::string& BatchPath,
                       const TRunnerProbe& Probe = SystemRunnerProbe());

// The information shown when a batch was written but nothing here can run it.
std::string NoRunnerMessage(const std::string& BatchPath);
// The warning shown when the runner would not start.
std::string RunnerFailedMessage(const std::string& BatchPath);

} // namespace kav
