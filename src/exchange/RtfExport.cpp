#include "exchange/RtfExport.h"

#include "document/Document.h"
#include "document/FileCopy.h"
#include "document/Languages.h"
#include "document/ToolError.h"
#include "document/TranslationTable.h"
#include "exchange/CtrlToRtf.h"
#include "platform/FileSystem.h"
#include "text/CodePage.h"
#include "text/StringUtils.h"

#include <filesystem>
#include <system_error>

namespace kav {

namespace {

enum TRtfDocument { rdBilingual = 0, rdTranslation = 1, rdEnglish = 2 };

bool TakesPart(const TItemTable& Items, TItemId Id) {
    return !TrimCharSet(Items.Name(Id), TrimChars()).empty();
}

// The parts that differ between the three documents.
struct TDocumentShape {
    std::string Suffix;
    std::string LanguageLine;
};

TDocumentShape ShapeOf(int Document, const TRtfExportControls& Controls) {
    const std::string Code = Controls.LanguageEntry.substr(0, 3);
    switch (Document) {
    case rdBilingual:
        return {"_ENU_To_" + Code,
                std::string(EnglishLanguageLine) + " <-> " + Controls.LanguageCaption};
    case rdTranslation:
        return {"_" + Code, Controls.LanguageCaption};
    default:
        return {"_ENU", EnglishLanguageLine};
    }
}

void WriteHeading(TCtrlToRTF& Writer, TMyFont& Font, int Size, const std::string& Title,
                  int ItemCount, const std::string& LanguageLine) {
    Font.SetColor(clBlack);
    Font.SetStyle(fsBold);
    Font.SetSize(Size + 4);
    Writer.AddText(Title, 0, 0, Font, TRtfAlignment::Left);
    Font.SetSize(Size + 2);
    Font.SetStyle(0);
    Writer.AddText(" (" + std::to_string(ItemCount) + " items)", 1, 0, Font, TRtfAlignment::Left);
    Font.SetStyle(fsBold);
    Writer.AddText("Item", 0, 2, Font, TRtfAlignment::Left);
    Writer.AddText(LanguageLine, 1, 0, Font, TRtfAlignment::Left);
    Writer.AddText("", 0, 1, Font, TRtfAlignment::Left);
    Font.SetSize(Size);
}

void WriteRow(TCtrlToRTF& Writer, TMyFont& Font, int Document, const TItemView& Item) {
    Font.SetColor(clBlack);
    Font.SetStyle(fsBold);
    Writer.AddText(std::string(Item.Number) + " ", 0, 1, Font, TRtfAlignment::Right);
    if (Document == rdBilingual) {
        Writer.AddText(std::string(Item.Default) + " ", 1, 0, Font, TRtfAlignment::Left);
        Font.SetStyle(0);
        Font.SetColor(clBlue);
        Writer.AddText(std::string(Item.Translation) + " ", 1, 1, Font, TRtfAlignment::Left);
        return;
    }
    Font.SetStyle(0);
    const std::string_view Text = Document == rdTranslation ? Item.Translation : Item.Default;
    Writer.AddText(std::string(Text) + " ", 1, 0, Font, TRtfAlignment::Left);
}

// Moves an existing document to its ".BAK" name; returns that file name, or empty when there
// was nothing to keep.
std::string MakeBackup(const std::string& Path) {
    if (!PathExists(Path))
        return {};
    std::error_code Error;
    // A folder under a document's name is the user's, not an older document: it is neither
    // moved to the backup name nor replaced.
    if (std::filesystem::is_directory(Path, Error))
        throw ToolError("Cannot create file \"" + Path +
                        "\": a folder of that name is in the way.");
    const std::string Backup = BackupPathOf(Path);
    if (std::filesystem::is_directory(Backup, Error))
        throw ToolError("Unable to delete backup file: " + Backup);
    if (PathExists(Backup) && !std::filesystem::remove(Backup, Error))
        throw ToolError("Unable to delete backup file: " + Backup);
    std::filesystem::rename(Path, Backup, Error);
    if (Error)
        throw ToolError("Unable to create backup file: " + Backup);
    return FileNamePart(Backup);
}

// Saves every document in turn, remembering each as soon as it is on disk so that the
// summary can say what was saved before an error.
void WriteDocuments(const std::string& BaseName, const TDocumentState& State,
                    const TItemTable& Items, const TRtfExportControls& Controls,
                    TRtfExportFiles& Files) {
    const std::string Title = TrimCharSet(Controls.Software, TrimChars());
    const int ItemCount = Items.Count();
    const size_t Cut = BaseName.size() >= 4 ? BaseName.size() - 4 : 0;
    for (int Document : {rdBilingual, rdTranslation, rdEnglish}) {
        const TDocumentShape Shape = ShapeOf(Document, Controls);
        TMyFont Font;
        Font.SetName(Controls.FontName);
        Font.SetSize(Controls.FontSize);
        Font.SetCharset(State.FFontCharset);
        TCtrlToRTF Writer;
        // The character set is that of the translated texts' code page, whether or not the face
        // has the script: word processors read the bytes by it and substitute a face that has
        // the letters, as the Windows font mapper does. The face keeps the chosen name.
        TRealisedFont Realised = RealiseFont(Font);
        Realised.Charset = CharsetOfCodePage(TranslatedCodePage(State));
        Writer.AddFont(Font, Realised);
        Writer.SetTextCodePage(TranslatedCodePage(State));
        Writer.WriteHeader();
        WriteHeading(Writer, Font, Controls.FontSize, Title, ItemCount, Shape.LanguageLine);
        for (TItemId Id = 0; Id < Items.Count(); ++Id)
            if (TakesPart(Items, Id))
                WriteRow(Writer, Font, Document, Items.View(Id));
        const std::string Path = BaseName.substr(0, Cut) + Shape.Suffix + BaseName.substr(Cut);
        const std::string Backup = MakeBackup(Path);
        Writer.SaveToFile(Path);
        Files.Paths[Document] = Path;
        Files.Backups[Document] = Backup;
    }
}

} // namespace

std::string BackupPathOf(const std::string& Path) {
    const size_t Slash = Path.find_last_of('/');
    const size_t Dot = Path.find_last_of('.');
    if (Dot == std::string::npos || (Slash != std::string::npos && Dot < Slash))
        return Path + ".BAK";
    return Path.substr(0, Dot) + ".BAK";
}

std::string ExportSummary(const TRtfExportFiles& Files) {
    const auto Lines = [](const std::array<std::string, 3>& Names) {
        return Names[0] + "\r\n" + Names[1] + "\r\n" + Names[2];
    };
    std::string Text = "Files saved: \r\n\r\n" + Lines(Files.Paths);
    if (!Files.Paths[rdBilingual].empty() && !Files.Backups[rdBilingual].empty())
        Text += "\r\n\r\nFiles backup: \r\n\r\n" + Lines(Files.Backups);
    return Text;
}

TRtfExportFiles ExportRtfDocuments(const std::string& BaseName, const TDocumentState& State,
                                   const TItemTable& Items, UserInterface& UI,
                                   const TRtfExportControls& Controls) {
    TRtfExportFiles Files;
    if (Items.Count() == 0 || !TakesPart(Items, 0))
        return Files;
    try {
        WriteDocuments(BaseName, State, Items, Controls, Files);
    } catch (...) {
        UI.MessageDlg(ExportSummary(Files), TMsgDlgType::mtInformation, mbOK);
        throw;
    }
    UI.MessageDlg(ExportSummary(Files), TMsgDlgType::mtInformation, mbOK);
    return Files;
}

TRtfExportFiles ExportRtfFiles(const TDocumentState& State, const TItemTable& Items,
                               UserInterface& UI, const TRtfExportControls& Controls) {
    const std::string Folder = State.FProgramDir + "RTF/";
    if (!EnsureFolder(Folder))
        throw ToolError("Cannot create " + Folder);
    const std::string Title = TrimCharSet(Controls.Software, TrimChars());
    return ExportRtfDocuments(Folder + Title + ".rtf", State, Items, UI, Controls);
}

} // namespace kav
