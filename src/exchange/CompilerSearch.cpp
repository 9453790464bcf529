#include "exchange/CompilerSearch.h"

#include "text/StringUtils.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace kav {

namespace fs = std::filesystem;

namespace {

constexpr const char* Compilers[] = {"srmc", "brcc32"};
constexpr const char* ProgramExtensions[] = {".exe", ".com", ".bat", ".cmd"};
// What a fresh prefix puts on the path, before wineboot has written its registry.
constexpr const char* DefaultWinePath = "C:\\windows\\system32;C:\\windows";

std::string Environment(const char* Name) {
    const char* Value = std::getenv(Name);
    return Value ? Value : "";
}

std::vector<std::string> SplitPath(const std::string& Value, char Separator) {
    std::vector<std::string> Folders;
    size_t Start = 0;
    while (Start <= Value.size()) {
        size_t End = Value.find(Separator, Start);
        if (End == std::string::npos)
            End = Value.size();
        if (End > Start)
            Folders.push_back(Value.substr(Start, End - Start));
        Start = End + 1;
    }
    return Folders;
}

std::string WinePrefix() {
    const std::string Prefix = Environment("WINEPREFIX");
    return Prefix.empty() ? Environment("HOME") + "/.wine" : Prefix;
}

// The entry of Child in Folder whatever its letter case; empty when there is none.
fs::path EntryIgnoringCase(const fs::path& Folder, const std::string& Child) {
    std::error_code Ec;
    if (fs::exists(Folder / Child, Ec))
        return Folder / Child;
    for (const fs::directory_entry& Entry : fs::directory_iterator(Folder, Ec))
        if (SameIgnoringCase(Entry.path().filename().string(), Child))
            return Entry.path();
    return {};
}

// A registry value as Wine stores it: "NAME"="text" or "NAME"=str(2):"text", with "\\" for a
// backslash; empty when Section or Name is missing.
std::string RegistryValue(const std::string& File, const std::string& Section,
                          const std::string& Name) {
    std::ifstream In(File);
    std::string Line;
    bool InSection = false;
    while (std::getline(In, Line)) {
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        if (!Line.empty() && Line[0] == '[') {
            InSection = Line.compare(0, Section.size() + 2, "[" + Section + "]") == 0;
            continue;
        }
        const std::string Key = "\"" + Name + "\"=";
        if (!InSection || Line.size() < Key.size() ||
            !SameIgnoringCase(Line.substr(0, Key.size()), Key))
            continue;
        std::string Value = Line.substr(Key.size());
        if (Value.compare(0, 7, "str(2):") == 0)
            Value.erase(0, 7);
        if (Value.size() < 2 || Value.front() != '"' || Value.back() != '"')
            return {};
        return ReplaceAll(Value.substr(1, Value.size() - 2), "\\\\", "\\");
    }
    return {};
}

// %SystemRoot% and %windir% as the prefix has them; a folder naming any other variable is left
// out, since nothing here can tell what it holds.
std::vector<std::string> ExpandedFolders(const std::string& Value) {
    std::vector<std::string> Folders;
    for (std::string Folder : SplitPath(Value, ';')) {
        for (const char* Root : {"%SystemRoot%", "%windir%"}) {
            const std::string Upper = UpperCase(Folder);
            const size_t At = Upper.find(UpperCase(Root));
            if (At != std::string::npos)
                Folder.replace(At, std::string(Root).size(), "C:\\windows");
        }
        if (Folder.find('%') == std::string::npos)
            Folders.push_back(Folder);
    }
    return Folders;
}

bool HoldsProgram(const std::string& Folder, const std::string& Name) {
    if (Folder.empty())
        return false;
    for (const char* Extension : ProgramExtensions) {
        const fs::path Found = EntryIgnoringCase(Folder, Name + Extension);
        std::error_code Ec;
        if (!Found.empty() && fs::is_regular_file(Found, Ec))
            return true;
    }
    return false;
}

std::string Joined(const std::vector<std::string>& Parts, const std::string& Separator) {
    std::string Text;
    for (const std::string& Part : Parts)
        Text += (Text.empty() ? "" : Separator) + Part;
    return Text;
}

} // namespace

#ifdef _WIN32
std::vector<std::string> BatchSearchPath() {
    return SplitPath(Environment("PATH"), ';');
}

std::string LocalFolderOf(const std::string& SearchFolder) {
    return SearchFolder;
}
#else
std::vector<std::string> BatchSearchPath() {
    std::vector<std::string> Folders = SplitPath(Environment("WINEPATH"), ';');
    const std::string Prefix = WinePrefix();
    std::string System = RegistryValue(
        Prefix + "/system.reg",
        "System\\\\CurrentControlSet\\\\Control\\\\Session Manager\\\\Environment", "PATH");
    if (System.empty())
        System = DefaultWinePath;
    const std::string User = RegistryValue(Prefix + "/user.reg", "Environment", "PATH");
    for (const std::string& Value : {System, User})
        for (const std::string& Folder : ExpandedFolders(Value))
            Folders.push_back(Folder);
    return Folders;
}

std::string LocalFolderOf(const std::string& SearchFolder) {
    if (!SearchFolder.empty() && SearchFolder[0] == '/')
        return SearchFolder;
    if (SearchFolder.size() < 2 || SearchFolder[1] != ':')
        return {};
    const std::string Drive =
        std::string(1,
                    static_cast<char>(std::tolower(static_cast<unsigned char>(SearchFolder[0])))) +
        ":";
    const fs::path Prefix = WinePrefix();
    std::error_code Ec;
    fs::path Folder = Prefix / "dosdevices" / Drive;
    if (!fs::is_directory(Folder, Ec)) {
        // A prefix that wineboot has not prepared yet maps its two usual drives all the same.
        if (Drive == "c:")
            Folder = Prefix / "drive_c";
        else if (Drive == "z:")
            Folder = "/";
        else
            return {};
    }
    for (const std::string& Part : SplitPath(ReplaceAll(SearchFolder.substr(2), "\\", "/"), '/')) {
        Folder = EntryIgnoringCase(Folder, Part);
        if (Folder.empty())
            return {};
    }
    return Folder.string();
}
#endif

std::vector<std::string> MissingCompilers(const std::string& CompilerDir,
                                          const std::vector<std::string>& SearchPath) {
    std::vector<std::string> Missing;
    for (const char* Compiler : Compilers) {
        bool Found = HoldsProgram(CompilerDir, Compiler);
        for (size_t i = 0; i < SearchPath.size() && !Found; ++i)
            Found = HoldsProgram(LocalFolderOf(SearchPath[i]), Compiler);
        if (!Found)
            Missing.push_back(Compiler);
    }
    return Missing;
}

std::string MissingCompilersMessage(const std::vector<std::string>& Missing,
                                    const std::string& CompilerDir,
                                    const std::vector<std::string>& SearchPath) {
    const bool One = Missing.size() == 1;
#ifdef _WIN32
    const std::string PathName = "the search path";
#else
    const std::string PathName = "Wine's search path";
#endif
    return "Can not Compile: " + Joined(Missing, " and ") + (One ? " is" : " are") +
           " missing. The build batch runs the compilers from " + CompilerDir + " or from " +
           PathName + " (" + Joined(SearchPath, ";") + "), and neither holds " +
           (One ? "it" : "them") + " (as .exe, .com, .bat or .cmd). Put " + (One ? "it" : "them") +
           " into " + CompilerDir + " and build again.";
}

} // namespace kav
