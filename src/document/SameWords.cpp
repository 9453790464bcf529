#include "document/SameWords.h"

#include "document/TextChecks.h"

#include <QFile>
#include <QRegularExpression>

#include <initializer_list>

namespace kav {

namespace {

// Names of products, programs and standards: no language translates them.
constexpr std::initializer_list<const char*> EveryLanguage = {
    "Z Shell",  "Bash",      "Linux", "Windows", "macOS",      "Unicode", "Bluetooth", "Wi-Fi",
    "Ethernet", "Internet",  "Java",  "Python",  "Perl",       "Firefox", "Chrome",    "Android",
    "Google",   "Microsoft", "Adobe", "Excel",   "PowerPoint", "OpenGL",  "Vulkan",    "Wayland",
    "GNOME",    "KDE",       "Qt",    "Debian",  "Ubuntu",     "OK"};

struct TLanguageWords {
    const char* Key; // the language code's first two letters
    std::initializer_list<const char*> Words;
};

// Words the language writes as English does, in the sense a program's interface uses them.
const TLanguageWords LanguageWords[] = {
    {"FR",
     {"Volume",    "Message",     "Messages",    "Options",       "Option",       "Type",
      "Types",     "Description", "Image",       "Images",        "Date",         "Note",
      "Notes",     "Pause",       "Position",    "Service",       "Services",     "Total",
      "Version",   "Zone",        "Format",      "Formats",       "Menu",         "Page",
      "Pages",     "Source",      "Sources",     "Index",         "Minimum",      "Maximum",
      "Code",      "Contact",     "Orientation", "Configuration", "Installation", "Information",
      "Action",    "Actions",     "Application", "Applications",  "Mode",         "Modes",
      "Style",     "Styles",      "Transition",  "Rotation",      "Navigation",   "Distribution",
      "Question",  "Animation",   "Validation",  "Excellent",     "Article",      "Client",
      "Instance",  "Signal",      "Normal",      "Local",         "Minute",       "Minutes",
      "Session",   "Sessions",    "Animation",   "Condition",     "Conditions",   "Document",
      "Documents", "Cascade",     "Versions",    "Public",        "Secret",       "Options",
      "Photo",     "Simple",      "Production",  "Unique",        "Support"}},
    {"DE",
     {"Name",     "Start",       "Status",        "Text",    "Export",   "Import",   "Filter",
      "Server",   "Information", "Version",       "Minimum", "Maximum",  "Index",    "Login",
      "Port",     "Code",        "Symbol",        "Format",  "Hardware", "Software", "Computer",
      "System",   "Service",     "Manager",       "Editor",  "Browser",  "Cursor",   "Monitor",
      "Offset",   "Plugin",      "Plugins",       "Link",    "Links",    "Album",    "Details",
      "Design",   "Tablet",      "Touchpad",      "Modem",   "Radio",    "Router",   "Team",
      "Konto",    "Element",     "Normal",        "Global",  "Lokal",    "Optional", "Tag",
      "Tags",     "Hand",        "Land",          "Bitmap",  "Pixel",    "Zoom",     "Stop",
      "Workflow", "Workflows",   "Administrator", "Offline", "Online",   "Backup",   "Update"}},
    {"NL", {"Status", "Filter", "Server",   "Type",     "Start",    "Export",  "Import", "Volume",
            "Menu",   "Index",  "Editor",   "Monitor",  "Design",   "Link",    "Links",  "Details",
            "Info",   "Album",  "Normaal",  "Service",  "Login",    "Modem",   "Router", "Pixel",
            "Zoom",   "Stop",   "Hardware", "Software", "Computer", "Formaat", "Code",   "Team"}},
    {"ES", {"Error",    "Total",  "Normal",     "Local",    "General", "Personal", "Manual",
            "Final",    "Color",  "Horizontal", "Vertical", "Central", "Virtual",  "Digital",
            "Original", "Global", "Radio",      "Audio",    "Portal",  "Hotel",    "Chat",
            "Control",  "Panel",  "Zoom",       "Mini"}},
    {"IT",
     {"Computer", "File",     "Browser", "Server",  "Password", "Mouse",  "Standard", "Display",
      "Monitor",  "Audio",    "Video",   "Font",    "Desktop",  "Online", "Offline",  "Zoom",
      "Link",     "Popup",    "Login",   "Menu",    "Download", "Upload", "Editor",   "Design",
      "Software", "Hardware", "Plugin",  "Account", "Web",      "Email",  "Backup",   "Sport"}},
    {"PL", {"Status", "Port",  "Monitor", "Start", "Tablet",        "Internet", "Router", "Format",
            "Hotel",  "Radio", "Album",   "Modem", "Serwis",        "Login",    "Design", "Link",
            "Offset", "Zoom",  "Stop",    "Tag",   "Administrator", "Offline",  "Online"}},
    {"PT",
     {"Total", "Normal", "Local", "Global", "Original", "Manual", "Digital", "Virtual",
      "Horizontal", "Vertical", "Radio", "Hotel", "Chat", "Zoom", "Email", "Login"}},
    {"SV",
     {"Start", "Status", "Filter", "Server", "Export", "Import", "Format", "Index", "Port", "Text",
      "Design", "Link", "Album", "Zoom", "Stop", "Version", "Information", "Normal"}},
};

} // namespace

TSameWords TSameWords::Shipped(const std::string& LanguageCode) {
    TSameWords Same;
    for (const char* Name : EveryLanguage)
        Same.Add(QString::fromUtf8(Name));
    const QString Key = QString::fromStdString(LanguageCode.substr(0, 2)).toUpper();
    for (const TLanguageWords& Language : LanguageWords)
        if (Key == QLatin1StringView(Language.Key))
            for (const char* Word : Language.Words)
                Same.Add(QString::fromUtf8(Word));
    return Same;
}

TSameWords TSameWords::For(const std::string& ProgramDir, const std::string& LanguageCode) {
    TSameWords Same = Shipped(LanguageCode);
    if (!ProgramDir.empty() && !LanguageCode.empty())
        Same.AddFile(QString::fromStdString(ProjectSameWordsFile(ProgramDir, LanguageCode)));
    return Same;
}

void TSameWords::Add(const QString& WordOrText) {
    const QString Entry = WordOrText.trimmed();
    if (!Entry.isEmpty())
        FEntries.insert(Entry.toCaseFolded());
}

bool TSameWords::AddFile(const QString& Path) {
    QFile File(Path);
    if (!File.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& Line : File.readAll().split('\n')) {
        const QString Entry = QString::fromUtf8(Line).trimmed();
        if (!Entry.isEmpty() && !Entry.startsWith(u'#'))
            Add(Entry);
    }
    return true;
}

bool TSameWords::Contains(const QString& WordOrText) const {
    return FEntries.contains(WordOrText.trimmed().toCaseFolded());
}

bool TSameWords::Covers(const QString& Text) const {
    QString Plain = Text;
    Plain.remove(u'&');
    if (Contains(Plain))
        return true;
    // Word by word: "Volume 2" and "Status: Normal" stay as a whole when each word does.
    static const QRegularExpression Blanks(QStringLiteral("[\\s,;:()]+"));
    const QStringList Tokens = Plain.split(Blanks, Qt::SkipEmptyParts);
    for (QString Token : Tokens) {
        while (!Token.isEmpty() && QStringLiteral(".!?\"'").contains(Token.back()))
            Token.chop(1);
        if (Token.isEmpty() || !HasWordsToTranslate(Token))
            continue;
        if (!Contains(Token))
            return false;
    }
    return !Tokens.isEmpty();
}

std::string ProjectSameWordsFile(const std::string& ProgramDir, const std::string& LanguageCode) {
    return ProgramDir + "Dictionary/" + LanguageCode + ".same";
}

} // namespace kav
