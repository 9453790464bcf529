#pragma once
// kavtool's command line: each command declares its arguments and options, and one parser
// (QCommandLineParser) reads them for all, so that an unknown option or a missing value is
// refused the same way everywhere instead of being taken for a file name.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kav {

struct TOption {
    const char* Name;      // "lang" is written --lang; a one-letter name is a short option (-o)
    const char* ValueName; // "CODE" as shown in the usage; nullptr for a flag
    const char* Help;
    bool Required = false;
};

// The options several commands share, spelled and explained once.
inline constexpr TOption OutputOption{"o", "OUT", "write to OUT instead of back to FILE"};
inline constexpr TOption ForceOption{"force", nullptr, "overwrite OUT when it exists"};

struct TArgs;
using TCommandRun = int (*)(const std::string& ProgramDir, const TArgs& Args);

struct TCommand {
    const char* Name;
    // The positional arguments, one word each ("FILE OUT"); a last word ending in "..." takes
    // one or more ("FILE...").
    const char* Arguments;
    std::vector<TOption> Options;
    const char* Summary; // what the command does, one line
    TCommandRun Run;
};

struct TArgs {
    const TCommand* Command = nullptr;
    std::vector<std::string> Positional;        // as given, byte for byte
    std::map<std::string, std::string> Options; // "--lang" -> "FRA", "-o" -> OUT; flags map to ""

    bool Has(const std::string& Name) const { return Options.count(Name) > 0; }
    std::string Get(const std::string& Name, const std::string& Default = {}) const;
};

// What reading a command's arguments came to: the arguments, a request for the command's
// help, or a refusal with the reason.
struct TParsedArgs {
    std::optional<TArgs> Args;
    bool HelpAsked = false;
    std::string Error;
};

TParsedArgs ParseCommandArgs(const TCommand& Command, const std::vector<std::string>& Args);

// "check FILE [--format text|csv|json] [--all] [--lang CODE]"
std::string CommandSynopsis(const TCommand& Command);

// "usage: kavtool check FILE [--format text|csv|json] ..." and one line per option.
std::string CommandUsage(const TCommand& Command);

// Prints "kavtool: " + Why (when given) and the command's usage to stderr; returns 2.
int UsageError(const TCommand& Command, const std::string& Why = {});

// Prints "kavtool: " + Message to stderr and returns 2.
int Fail(const std::string& Message);

// Each command file registers its commands with a static TRegisterCommand.
struct TRegisterCommand {
    explicit TRegisterCommand(const TCommand& Command);
};

const std::vector<TCommand>& Commands();
const TCommand* FindCommand(const std::string& Name);

} // namespace kav
