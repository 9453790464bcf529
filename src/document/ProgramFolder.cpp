#include "document/ProgramFolder.h"

#include "document/DocumentState.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#ifndef KAV_INSTALLED_DATA
#define KAV_INSTALLED_DATA "../share/KavrinoTranslationTool"
#endif

namespace kav {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string Dir) {
    if (Dir.empty() || Dir.back() != '/')
        Dir += '/';
    return Dir;
}

std::string Absolute(const std::string& Dir) {
    std::error_code Ec;
    fs::path Path = fs::absolute(Dir, Ec);
    return Ec ? Dir : Path.lexically_normal().string();
}

std::string ExecutableFolder() {
    std::error_code Ec;
    fs::path Exe = fs::read_symlink("/proc/self/exe", Ec);
    return Ec ? std::string(".") : Exe.parent_path().string();
}

bool IsDir(const fs::path& Path) {
    std::error_code Ec;
    return fs::is_directory(Path, Ec);
}

// Copies the regular files of From into To, keeping any file To already has.
void CopyMissingFiles(const fs::path& From, const fs::path& To) {
    std::error_code Ec;
    fs::create_directories(To, Ec);
    for (const fs::directory_entry& Entry : fs::directory_iterator(From, Ec)) {
        std::error_code FileEc;
        if (Entry.is_regular_file(FileEc))
            fs::copy_file(Entry.path(), To / Entry.path().filename(),
                          fs::copy_options::skip_existing, FileEc);
    }
}

// The places of the guide, in the order they are looked at.
std::vector<std::string> UserGuidePlaces(const std::string& ExeDir,
                                         const std::string& InstalledData) {
    const std::string Exe = WithSlash(ExeDir);
    return {Exe + "guide.html", Exe + "docs/guide.html", WithSlash(InstalledData) + "guide.html"};
}

} // namespace

std::string UserDataFolder() {
    // The same folder for the editor and kavtool, whatever name QApplication carries.
    return WithSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                         .toStdString()) +
           "KavrinoTranslationTool/";
}

std::string InstalledDataFolder() {
    return WithSlash(Absolute(ExecutableFolder() + "/" + KAV_INSTALLED_DATA));
}

std::string FindUserGuide(const std::string& ExeDir, const std::string& InstalledData) {
    const std::vector<std::string> Places = UserGuidePlaces(ExeDir, InstalledData);
    for (const std::string& Place : Places) {
        std::error_code Ec;
        if (fs::is_regular_file(Place, Ec))
            return Place;
    }
    return Places.back();
}

std::string ProductFontFolder(const std::string& ProgramDir) {
    return WithSlash(ProgramDir) + "Fonts/";
}

std::vector<std::string> LanguageFilesOf(const std::string& FileOrFolder) {
    const QString Path = QString::fromStdString(FileOrFolder);
    if (!QFileInfo(Path).isDir())
        return {FileOrFolder};
    QDir Dir(Path);
    if (Dir.exists("Language"))
        Dir.cd("Language");
    std::vector<std::string> Files;
    for (const QString& Name : Dir.entryList({"Kavr_*.str"}, QDir::Files, QDir::Name))
        Files.push_back(Dir.filePath(Name).toStdString());
    return Files;
}

std::string UserGuideFile() {
    return FindUserGuide(ExecutableFolder(), InstalledDataFolder());
}

std::string UserGuideNotFoundMessage(const std::string& ExeDir, const std::string& InstalledData) {
    std::string Text = "Help file not found: the user guide is in none of these places:";
    for (const std::string& Place : UserGuidePlaces(ExeDir, InstalledData))
        Text += "\n" + Place;
    return Text;
}

std::string UserGuideNotFoundMessage() {
    return UserGuideNotFoundMessage(ExecutableFolder(), InstalledDataFolder());
}

std::string UserGuideWithoutBrowserMessage(const std::string& GuidePath) {
    const QString Address =
        QUrl::fromLocalFile(QString::fromStdString(GuidePath)).toString(QUrl::FullyEncoded);
    return "No web browser could be started to show the user guide " + GuidePath +
           ". Open it in any web browser: type this address into its address bar, or open the "
           "file with its File > Open:\n" +
           Address.toStdString();
}

void PrepareUserFolder(const std::string& Dir, const std::string& InstalledData) {
    const fs::path Root(Dir);
    const bool FirstStart = !IsDir(Root);
    std::error_code Ec;
    fs::create_directories(Root / "Language", Ec);
    if (!FirstStart || InstalledData.empty())
        return;
    for (const char* Sub : {"Default", "Language"})
        if (IsDir(fs::path(InstalledData) / Sub))
            CopyMissingFiles(fs::path(InstalledData) / Sub, Root / Sub);
}

std::string ChooseProgramFolder(const std::string& Home, const std::string& ExeDir,
                                const std::string& UserDataDir, const std::string& InstalledData) {
    if (!Home.empty())
        return WithSlash(Absolute(Home));
    if (IsDir(fs::path(ExeDir) / "Default"))
        return WithSlash(Absolute(ExeDir));
    PrepareUserFolder(UserDataDir, InstalledData);
    return WithSlash(Absolute(UserDataDir));
}

std::string ResolveProgramFolder(int& Argc, char** Argv) {
    std::string Home;
    for (int i = 1; i < Argc; ++i) {
        if (std::strcmp(Argv[i], "--home") == 0 && i + 1 < Argc) {
            Home = Argv[i + 1];
            for (int j = i; j + 2 <= Argc; ++j)
                Argv[j] = Argv[j + 2];
            Argc -= 2;
            break;
        }
    }
    if (Home.empty())
        if (const char* Root = std::getenv("KAVROOT"); Root && *Root)
            Home = Root;
    return ChooseProgramFolder(Home, ExecutableFolder(), UserDataFolder(), InstalledDataFolder());
}

std::string MissingDefaultMessage(const TDocumentState& State) {
    std::string Text = "Default Language File not found: " + State.FDefaultFileName;
    if (State.FProgramDir == UserDataFolder())
        Text += "\nPut the default files " + std::string(MainDefaultName) + " and " +
                UserDefaultName + " in " + State.FDefaultDir;
    return Text;
}

} // namespace kav
