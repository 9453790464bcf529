#include "cli/CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>

#include <iostream>
#include <sstream>

namespace kav {

namespace {

std::vector<TCommand>& Registry() {
    static std::vector<TCommand> List;
    return List;
}

std::string Spelling(const TOption& Option) {
    const std::string Name = Option.Name;
    return (Name.size() == 1 ? "-" : "--") + Name;
}

std::string Shown(const TOption& Option) {
    return Spelling(Option) + (Option.ValueName ? std::string(" ") + Option.ValueName : "");
}

// Required options first, then the positional arguments, then the optional ones, as a reader
// writes the command.
std::string ArgumentsLine(const TCommand& Command) {
    std::string Line;
    for (const TOption& Option : Command.Options)
        if (Option.Required)
            Line += " " + Shown(Option);
    if (*Command.Arguments)
        Line += std::string(" ") + Command.Arguments;
    for (const TOption& Option : Command.Options)
        if (!Option.Required)
            Line += " [" + Shown(Option) + "]";
    return Line.empty() ? Line : Line.substr(1);
}

std::string OptionLine(const std::string& Shown, const char* Help) {
    const std::string Left = "  " + Shown;
    return Left + std::string(Left.size() < 26 ? 26 - Left.size() : 1, ' ') + Help + "\n";
}

std::string OptionLines(const TCommand& Command) {
    std::string Lines;
    for (const TOption& Option : Command.Options)
        Lines += OptionLine(Shown(Option), Option.Help);
    return Lines;
}

size_t WordCount(const char* Text) {
    std::istringstream In(Text);
    size_t Count = 0;
    for (std::string Word; In >> Word;)
        ++Count;
    return Count;
}

// "FILE..." as the last argument takes one or more.
bool LastRepeats(const char* Text) {
    const std::string Words = Text;
    return Words.size() >= 3 && Words.compare(Words.size() - 3, 3, "...") == 0;
}

// Arguments are bytes (file names need not be UTF-8): the parser sees a stand-in for each
// argument that cannot be an option, and the stand-ins are mapped back afterwards.
const QChar StandIn(0x1);

QStringList ParserInput(const std::string& Name, const std::vector<std::string>& Args) {
    QStringList List{QStringLiteral("kavtool ") + QString::fromUtf8(Name.c_str())};
    for (size_t i = 0; i < Args.size(); ++i)
        List << (Args[i].empty() || Args[i][0] != '-' ? StandIn + QString::number(i)
                                                      : QString::fromUtf8(Args[i].c_str()));
    return List;
}

std::string Original(const QString& Seen, const std::vector<std::string>& Args) {
    if (Seen.startsWith(StandIn))
        return Args[Seen.mid(1).toULong()];
    return Seen.toUtf8().toStdString();
}

} // namespace

std::string TArgs::Get(const std::string& Name, const std::string& Default) const {
    auto It = Options.find(Name);
    return It == Options.end() ? Default : It->second;
}

TParsedArgs ParseCommandArgs(const TCommand& Command, const std::vector<std::string>& Args) {
    QCommandLineParser Parser;
    Parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption Help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    Parser.addOption(Help);
    std::vector<QCommandLineOption> Options;
    for (const TOption& Option : Command.Options) {
        Options.emplace_back(QString::fromLatin1(Option.Name), QString::fromUtf8(Option.Help));
        if (Option.ValueName)
            Options.back().setValueName(QString::fromLatin1(Option.ValueName));
        Parser.addOption(Options.back());
    }
    TParsedArgs Result;
    const bool Parsed = Parser.parse(ParserInput(Command.Name, Args));
    if (Parser.isSet(Help)) {
        Result.HelpAsked = true;
        return Result;
    }
    if (!Parsed) {
        Result.Error = Parser.errorText().toStdString();
        return Result;
    }
    TArgs Read;
    Read.Command = &Command;
    for (size_t i = 0; i < Options.size(); ++i) {
        const TOption& Option = Command.Options[i];
        if (!Parser.isSet(Options[i])) {
            if (Option.Required) {
                Result.Error = Spelling(Option) + " is required";
                return Result;
            }
            continue;
        }
        const QStringList Values = Parser.values(Options[i]);
        // A second value would silently replace the first: which one was meant is unknown.
        if (Values.size() > 1) {
            Result.Error = Spelling(Option) + " is given more than once";
            return Result;
        }
        Read.Options[Spelling(Option)] = Option.ValueName ? Original(Values.front(), Args) : "";
    }
    for (const QString& Positional : Parser.positionalArguments())
        Read.Positional.push_back(Original(Positional, Args));
    const size_t Expected = WordCount(Command.Arguments);
    const bool Repeats = LastRepeats(Command.Arguments);
    if (Read.Positional.size() != Expected && !(Repeats && Read.Positional.size() > Expected)) {
        Result.Error = std::string(Command.Name) + " needs " + (Repeats ? "at least " : "") +
                       std::to_string(Expected) + " argument" + (Expected == 1 ? "" : "s") +
                       ", not " + std::to_string(Read.Positional.size());
        return Result;
    }
    Result.Args = std::move(Read);
    return Result;
}

std::string CommandSynopsis(const TCommand& Command) {
    return std::string(Command.Name) + " " + ArgumentsLine(Command);
}

std::string CommandUsage(const TCommand& Command) {
    return "usage: kavtool [--home DIR] " + CommandSynopsis(Command) + "\n" + Command.Summary +
           "\n" + OptionLines(Command) + OptionLine("-h, --help", "this help");
}

int UsageError(const TCommand& Command, const std::string& Why) {
    if (!Why.empty())
        std::cerr << "kavtool: " << Why << "\n";
    std::cerr << "kavtool: " << Command.Name << " takes " << ArgumentsLine(Command) << "\n"
              << OptionLines(Command);
    return 2;
}

int Fail(const std::string& Message) {
    std::cerr << "kavtool: " << Message << "\n";
    return 2;
}

TRegisterCommand::TRegisterCommand(const TCommand& Command) {
    Registry().push_back(Command);
}

const std::vector<TCommand>& Commands() {
    return Registry();
}

const TCommand* FindCommand(const std::string& Name) {
    for (const TCommand& Command : Commands())
        if (Name == Command.Name)
            return &Command;
    return nullptr;
}

} // namespace kav
