#include "document/SourceBaseline.h"

#include "document/FileCopy.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <vector>

namespace kav {

namespace fs = std::filesystem;

namespace {

// FNV-1a: the same folder gives the same name on every run and build.
std::string FolderHash(const std::string& Folder) {
    std::uint64_t Hash = 14695981039346656037ull;
    for (const unsigned char C : Folder) {
        Hash ^= C;
        Hash *= 1099511628211ull;
    }
    std::ostringstream Out;
    Out << std::hex << std::setw(16) << std::setfill('0') << Hash;
    return Out.str();
}

void AppendEscaped(std::string& Out, std::string_view Text) {
    for (const char C : Text) {
        switch (C) {
        case '\\':
            Out += "\\\\";
            break;
        case '\t':
            Out += "\\t";
            break;
        case '\n':
            Out += "\\n";
            break;
        case '\r':
            Out += "\\r";
            break;
        default:
            Out += C;
        }
    }
}

std::string Unescaped(std::string_view Text) {
    if (Text.find('\\') == std::string_view::npos)
        return std::string(Text);
    std::string Out;
    Out.reserve(Text.size());
    for (size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] != '\\' || I + 1 == Text.size()) {
            Out += Text[I];
            continue;
        }
        const char Next = Text[++I];
        Out += Next == 't' ? '\t' : Next == 'n' ? '\n' : Next == 'r' ? '\r' : Next;
    }
    return Out;
}

// The three fields of a side file's line; false for a line of another shape.
bool SplitFields(std::string_view Line, std::string_view (&Out)[3]) {
    for (int I = 0; I < 2; ++I) {
        const size_t Tab = Line.find('\t');
        if (Tab == std::string_view::npos)
            return false;
        Out[I] = Line.substr(0, Tab);
        Line.remove_prefix(Tab + 1);
    }
    Out[2] = Line;
    return Line.find('\t') == std::string_view::npos;
}

bool ReadWhole(const std::string& Path, std::string& Bytes) {
    std::ifstream In(Path, std::ios::binary);
    if (!In)
        return false;
    In.seekg(0, std::ios::end);
    const std::streamoff Size = In.tellg();
    In.seekg(0, std::ios::beg);
    Bytes.resize(Size > 0 ? static_cast<size_t>(Size) : 0);
    In.read(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    Bytes.resize(static_cast<size_t>(std::max<std::streamsize>(In.gcount(), 0)));
    return true;
}

} // namespace

std::string TSourceBaseline::PathFor(const std::string& BackupDir, const std::string& File) {
    std::error_code Ec;
    fs::path Absolute = fs::absolute(fs::path(File), Ec);
    if (Ec)
        Absolute = fs::path(File);
    return BackupDir + "English/" + Absolute.filename().string() + "." +
           FolderHash(Absolute.parent_path().lexically_normal().string()) + ".txt";
}

void TSourceBaseline::Clear() {
    FKnown = false;
    FSaved.clear();
    FLoaded.clear();
    FSavedBytes.clear();
    FUnescaped.clear();
    FLoadedNames.clear();
    FReviewed.clear();
    ++FRevision;
}

std::string_view TSourceBaseline::Kept(std::string_view Field) {
    if (Field.find('\\') == std::string_view::npos)
        return Field;
    return FUnescaped.emplace_back(Unescaped(Field));
}

void TSourceBaseline::Load(const std::string& BackupDir, const std::string& File,
                           const TItemTable& Items) {
    Clear();
    if (!ReadWhole(PathFor(BackupDir, File), FSavedBytes))
        return;
    FKnown = true;
    const size_t Count = static_cast<size_t>(std::max(0, Items.Count()));
    FSaved.reserve(Count);
    for (std::string_view Rest = FSavedBytes; !Rest.empty();) {
        const size_t End = std::min(Rest.find('\n'), Rest.size());
        std::string_view Line = Rest.substr(0, End);
        Rest.remove_prefix(std::min(End + 1, Rest.size()));
        std::string_view F[3];
        if (SplitFields(Line, F))
            FSaved.insert_or_assign(Kept(F[0]), TEnglish{Kept(F[2]), Kept(F[1])});
    }
    // Sized first: the names are viewed where they stand.
    size_t Bytes = 0;
    for (TItemId Id = 0; Id < Items.Count(); ++Id)
        Bytes += Items.Name(Id).size();
    FLoadedNames.reserve(Bytes);
    FLoaded.reserve(Count);
    for (TItemId Id = 0; Id < Items.Count(); ++Id) {
        const size_t At = FLoadedNames.size();
        FLoadedNames += Items.Name(Id);
        FLoaded.insert_or_assign(std::string_view(FLoadedNames).substr(At),
                                 PrintOf(Items.Translation(Id)));
    }
}

TSourceChange TSourceBaseline::ChangeOf(const TItemTable& Items, TItemId Id) const {
    if (!FKnown || !Items.Contains(Id))
        return TSourceChange::None;
    const std::string_view Name = Items.Name(Id);
    if (Name.empty() || FReviewed.find(Name) != FReviewed.end())
        return TSourceChange::None;
    // An edited translation was made with the English as it is now in view.
    const auto Loaded = FLoaded.find(Name);
    if (Loaded == FLoaded.end() || Loaded->second != PrintOf(Items.Translation(Id)))
        return TSourceChange::None;
    const auto Saved = FSaved.find(Name);
    if (Saved == FSaved.end())
        return TSourceChange::New;
    const TItemView View = Items.View(Id);
    if (Saved->second.Text != View.Default)
        return TSourceChange::Text;
    if (Saved->second.Width != View.Width)
        return TSourceChange::Width;
    return TSourceChange::None;
}

std::optional<TFinding> TSourceBaseline::FindingOf(const TItemTable& Items, TItemId Id) const {
    std::string Message;
    switch (ChangeOf(Items, Id)) {
    case TSourceChange::None:
        return std::nullopt;
    case TSourceChange::Text:
        Message = "the English text changed since this was translated";
        break;
    case TSourceChange::Width: {
        const auto Named = [](std::string_view Width) {
            return Width.empty() ? std::string("none") : std::string(Width);
        };
        Message = "the width changed since this was translated (was " +
                  Named(FSaved.at(Items.Name(Id)).Width) + ", now " + Named(Items.View(Id).Width) +
                  ")";
        break;
    }
    case TSourceChange::New:
        Message = "a new item since this file was last saved";
        break;
    }
    return TFinding{TFindingKind::SourceChanged, SeverityOf(TFindingKind::SourceChanged), Message};
}

void TSourceBaseline::MarkReviewed(const TItemTable& Items, TItemId Id) {
    if (!Items.Contains(Id) || Items.Name(Id).empty())
        return;
    FReviewed.insert(std::string(Items.Name(Id)));
    ++FRevision;
}

std::string TSourceBaseline::Save(const std::string& BackupDir, const std::string& File,
                                  const TItemTable& Items) const {
    const std::string Path = PathFor(BackupDir, File);
    if (!EnsureFolder(BackupDir + "English/"))
        return "Cannot create " + BackupDir + "English/";
    std::string Bytes;
    for (TItemId Id = 0; Id < Items.Count(); ++Id) {
        const std::string_view Name = Items.Name(Id);
        if (Name.empty())
            continue;
        const TSourceChange Change = ChangeOf(Items, Id);
        if (Change == TSourceChange::New)
            continue;
        const TItemView View = Items.View(Id);
        std::string_view Width = View.Width, Text = View.Default;
        if (Change != TSourceChange::None) {
            const TEnglish& Before = FSaved.find(Name)->second;
            Width = Before.Width;
            Text = Before.Text;
        }
        AppendEscaped(Bytes, Name);
        Bytes += '\t';
        AppendEscaped(Bytes, Width);
        Bytes += '\t';
        AppendEscaped(Bytes, Text);
        Bytes += '\n';
    }
    return WriteFileAtomically(Path, Bytes);
}

} // namespace kav
