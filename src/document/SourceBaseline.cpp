#include "document/SourceBaseline.h"

#include "document/FileCopy.h"

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

std::string Escaped(std::string_view Text) {
    std::string Out;
    Out.reserve(Text.size());
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
    return Out;
}

std::string Unescaped(std::string_view Text) {
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

std::vector<std::string_view> Fields(std::string_view Line) {
    std::vector<std::string_view> Out;
    size_t Start = 0;
    for (size_t Tab; (Tab = Line.find('\t', Start)) != std::string_view::npos; Start = Tab + 1)
        Out.push_back(Line.substr(Start, Tab - Start));
    Out.push_back(Line.substr(Start));
    return Out;
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
    FReviewed.clear();
    ++FRevision;
}

void TSourceBaseline::Load(const std::string& BackupDir, const std::string& File,
                           const TItemTable& Items) {
    Clear();
    std::ifstream In(PathFor(BackupDir, File), std::ios::binary);
    if (!In)
        return;
    FKnown = true;
    std::string Line;
    while (std::getline(In, Line)) {
        const std::vector<std::string_view> F = Fields(Line);
        if (F.size() == 3)
            FSaved[Unescaped(F[0])] = TEnglish{Unescaped(F[2]), Unescaped(F[1])};
    }
    for (TItemId Id = 0; Id < Items.Count(); ++Id)
        FLoaded[std::string(Items.Name(Id))] = std::string(Items.Translation(Id));
}

TSourceChange TSourceBaseline::ChangeOf(const TItemTable& Items, TItemId Id) const {
    if (!FKnown || !Items.Contains(Id))
        return TSourceChange::None;
    const std::string Name(Items.Name(Id));
    if (Name.empty() || FReviewed.count(Name))
        return TSourceChange::None;
    // An edited translation was made with the English as it is now in view.
    const auto Loaded = FLoaded.find(Name);
    if (Loaded == FLoaded.end() || Loaded->second != Items.Translation(Id))
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
    case TSourceChange::Width:
        Message = "the width changed since this was translated (was " +
                  (FSaved.at(std::string(Items.Name(Id))).Width.empty()
                       ? std::string("none")
                       : FSaved.at(std::string(Items.Name(Id))).Width) +
                  ", now " +
                  (Items.View(Id).Width.empty() ? std::string("none")
                                                : std::string(Items.View(Id).Width)) +
                  ")";
        break;
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
        const std::string Name(Items.Name(Id));
        if (Name.empty())
            continue;
        const TSourceChange Change = ChangeOf(Items, Id);
        if (Change == TSourceChange::New)
            continue;
        const TItemView View = Items.View(Id);
        const TEnglish Kept = Change == TSourceChange::None
                                  ? TEnglish{std::string(View.Default), std::string(View.Width)}
                                  : FSaved.at(Name);
        Bytes += Escaped(Name) + '\t' + Escaped(Kept.Width) + '\t' + Escaped(Kept.Text) + '\n';
    }
    return WriteFileAtomically(Path, Bytes);
}

} // namespace kav
