#include "document/Recovery.h"

#include "document/FileCopy.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace kav {

namespace {

constexpr const char* Signature = ";Kavrino recovery copy 1";
constexpr const char* CopyExtension = ".recovery";

// Header values may hold any byte of a path: "%", control characters and DEL as "%XX".
std::string Escaped(const std::string& Text) {
    std::string Out;
    for (const char C : Text) {
        const auto B = static_cast<unsigned char>(C);
        if (B == '%' || B < 0x20 || B == 0x7F) {
            char Hex[4];
            std::snprintf(Hex, sizeof Hex, "%%%02X", B);
            Out += Hex;
        } else {
            Out += C;
        }
    }
    return Out;
}

std::string Unescaped(std::string_view Text) {
    return QByteArray::fromPercentEncoding(QByteArray(Text.data(), qsizetype(Text.size())))
        .toStdString();
}

const char* KindName(StrFileKind Kind) {
    return Kind == fkUser ? "user" : "main";
}

// The header's "Key=value" lines into Copy; the number of items it announces into Items.
bool TakeHeaderLine(std::string_view Line, TRecoveryCopy& Copy, long long& Items) {
    const size_t Equals = Line.find('=');
    if (Equals == std::string_view::npos)
        return false;
    const std::string_view Key = Line.substr(0, Equals), Value = Line.substr(Equals + 1);
    try {
        if (Key == "File")
            Copy.FileName = Unescaped(Value);
        else if (Key == "Kind" && (Value == "main" || Value == "user"))
            Copy.Kind = Value == "user" ? fkUser : fkMain;
        else if (Key == "Language")
            Copy.LanguageCode = Unescaped(Value);
        else if (Key == "Written")
            Copy.Written = std::stoll(std::string(Value));
        else if (Key == "Items")
            Items = std::stoll(std::string(Value));
        else
            return false;
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

std::optional<TRecoveryCopy> ReadCopy(const std::string& Path, std::string& Error) {
    const auto Refuse = [&](const std::string& Why) {
        Error = "Cannot read the recovery copy " + Path + ": " + Why;
        return std::nullopt;
    };
    StrLineReader Reader;
    if (Reader.Open(Path) != 0)
        return Refuse("it cannot be opened");
    TRecoveryCopy Copy;
    Copy.Path = Path;
    std::string_view Line;
    if (!Reader.NextLine(Line) || Line != Signature)
        return Refuse("it is not a recovery copy");
    long long Announced = -1;
    while (Reader.NextLine(Line) && !Line.empty())
        if (!TakeHeaderLine(Line, Copy, Announced))
            return Refuse("its header is damaged");
    if (Announced < 0 || Copy.FileName.empty())
        return Refuse("its header is damaged");
    while (Reader.NextLine(Line)) {
        if (!IsItemLine(Line))
            return Refuse("line " + std::to_string(Reader.LineNumber()) + " is not an item");
        const StrItemView Item = ParseItemView(Line, TranslatedAttributeCount);
        TRecoveryItem Taken{std::string(Item.Name), std::string(Item.Text)};
        if (!ParseColorField(Item.Attributes[0], Taken.Color))
            return Refuse("line " + std::to_string(Reader.LineNumber()) + " is damaged");
        Copy.Items.push_back(std::move(Taken));
    }
    if (Reader.Problem() != StrReadProblem::None || Reader.Close() != 0)
        return Refuse("it cannot be read to its end");
    if (static_cast<long long>(Copy.Items.size()) != Announced)
        return Refuse("it is cut short");
    return Copy;
}

} // namespace

std::string RecoveryFolder(const std::string& BackupDir) {
    return BackupDir + "Recovery/";
}

std::string RecoveryPath(const std::string& Folder, const std::string& FileName) {
    std::string Name;
    for (const char C : fs::path(FileName).filename().string().substr(0, 60))
        Name += std::isalnum(static_cast<unsigned char>(C)) || C == '.' || C == '_' || C == '-'
                    ? C
                    : '_';
    const QByteArray Hash =
        QCryptographicHash::hash(QByteArray::fromStdString(FileName), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return Folder + Name + "-" + Hash.toStdString() + CopyExtension;
}

std::string WriteRecovery(const std::string& Folder, const std::string& FileName, StrFileKind Kind,
                          const std::string& LanguageCode, const std::vector<StrWriteItem>& Items) {
    const std::string Path = RecoveryPath(Folder, FileName);
    if (const std::vector<std::string> Problems = UnwritableItems(Items); !Problems.empty()) {
        std::string Message =
            "Cannot write the recovery copy " + Path + ": the file format cannot hold these items:";
        for (const std::string& Problem : Problems)
            Message += "\n" + Problem;
        return Message;
    }
    fs::path Parent = fs::path(Folder).parent_path();
    if (!Folder.empty() && Folder.back() == '/')
        Parent = Parent.parent_path();
    if ((!Parent.empty() && !EnsureFolder(Parent.string())) || !EnsureFolder(Folder))
        return "Cannot create " + Folder;
    long long Count = 0;
    std::string Body;
    for (const StrWriteItem& Item : Items) {
        if (Item.Name.empty())
            continue;
        AppendItemLine(Body, Item.Name, Item.Text, Item.Color);
        Body += "\r\n";
        ++Count;
    }
    const std::string Header =
        std::string(Signature) + "\r\nFile=" + Escaped(FileName) + "\r\nKind=" + KindName(Kind) +
        "\r\nLanguage=" + Escaped(LanguageCode) +
        "\r\nWritten=" + std::to_string(static_cast<long long>(std::time(nullptr))) +
        "\r\nItems=" + std::to_string(Count) + "\r\n\r\n";
    return WriteFileAtomically(Path, Header + Body);
}

std::optional<TRecoveryCopy> ReadRecovery(const std::string& Path, std::string& Error) {
    return ReadCopy(Path, Error);
}

std::vector<TRecoveryCopy> ListRecovery(const std::string& Folder) {
    std::vector<TRecoveryCopy> Copies;
    std::error_code Ec;
    fs::directory_iterator It(Folder, Ec);
    for (; !Ec && It != fs::directory_iterator(); It.increment(Ec)) {
        std::error_code Kind;
        std::string Error;
        if (It->is_regular_file(Kind) && It->path().extension() == CopyExtension)
            // Read whole: a copy that cannot be recovered is not offered.
            if (std::optional<TRecoveryCopy> Copy = ReadCopy(It->path().string(), Error)) {
                Copy->Items = {};
                Copies.push_back(std::move(*Copy));
            }
    }
    std::sort(Copies.begin(), Copies.end(),
              [](const TRecoveryCopy& A, const TRecoveryCopy& B) { return A.Written > B.Written; });
    return Copies;
}

bool DiscardRecovery(const std::string& Folder, const std::string& FileName) {
    std::error_code Ec;
    fs::remove(RecoveryPath(Folder, FileName), Ec);
    return !Ec;
}

} // namespace kav
