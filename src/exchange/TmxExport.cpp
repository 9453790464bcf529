#include "exchange/TmxExport.h"

#include "document/Document.h"
#include "document/Languages.h"
#include "document/ProgramFolder.h"
#include "document/ToolError.h"
#include "document/TranslationTable.h"
#include "exchange/NamedTranslations.h"
#include "grid/GridModel.h"
#include "measure/ItemCheck.h"
#include "text/CodePage.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <map>
#include <vector>

namespace kav {

namespace {

constexpr const char* SourceLanguage = "en-US";

QString Q(const std::string& Text) {
    return QString::fromStdString(Text);
}

struct TPair {
    std::string Name;
    QString English, Translation;
};

void WriteVariant(QXmlStreamWriter& W, const QString& Language, const QString& Text) {
    W.writeStartElement(QStringLiteral("tuv"));
    W.writeAttribute(QStringLiteral("xml:lang"), Language);
    W.writeTextElement(QStringLiteral("seg"), Text);
    W.writeEndElement();
}

void WriteProperty(QXmlStreamWriter& W, const char* Type, const QString& Value) {
    W.writeStartElement(QStringLiteral("prop"));
    W.writeAttribute(QStringLiteral("type"), QString::fromLatin1(Type));
    W.writeCharacters(Value);
    W.writeEndElement();
}

} // namespace

TTmxWriter::TTmxWriter() {
    W.setAutoFormatting(true);
    W.setAutoFormattingIndent(1);
    W.writeStartDocument();
    W.writeStartElement(QStringLiteral("tmx"));
    W.writeAttribute(QStringLiteral("version"), QStringLiteral("1.4"));
    W.writeEmptyElement(QStringLiteral("header"));
    W.writeAttribute(QStringLiteral("creationtool"), QStringLiteral("Kavrino Translation Tool"));
    W.writeAttribute(QStringLiteral("creationtoolversion"), QStringLiteral(KAV_VERSION));
    W.writeAttribute(QStringLiteral("datatype"), QStringLiteral("plaintext"));
    W.writeAttribute(QStringLiteral("segtype"), QStringLiteral("block"));
    W.writeAttribute(QStringLiteral("adminlang"), QString::fromLatin1(SourceLanguage));
    W.writeAttribute(QStringLiteral("srclang"), QString::fromLatin1(SourceLanguage));
    W.writeAttribute(QStringLiteral("o-tmf"), QStringLiteral("STR"));
    W.writeStartElement(QStringLiteral("body"));
}

int TTmxWriter::AddDocument(const TDocumentState& State, const TItemTable& Items) {
    const std::string File = FileNamePart(State.FFileName);
    const std::string Tag = LanguageTagOf(State.FLanguageCode);
    if (Tag.empty())
        throw ToolError("The language of " + File + " (" + State.FLanguageCode +
                        ") has no language tag a translation memory could name.");
    const int CodePage = TranslatedCodePage(State);
    // Every text is decoded before any is written, so that a refused document adds nothing.
    std::vector<TPair> Pairs;
    for (TItemId Id = 0; Id < Items.Count(); ++Id) {
        const TItemView Item = Items.View(Id);
        if (ItemStateOf(Item) != TItemState::Translated)
            continue;
        Pairs.push_back(
            {ConstantNameOf(Items, Id),
             ExchangeText(Items, Id, Item.Default, SystemAnsiCodePage(), "English text"),
             ExchangeText(Items, Id, Item.Translation, CodePage, "translation")});
    }
    for (const TPair& Pair : Pairs) {
        W.writeStartElement(QStringLiteral("tu"));
        W.writeAttribute(QStringLiteral("tuid"), Q(File + ":" + Pair.Name));
        WriteProperty(W, "x-name", Q(Pair.Name));
        WriteProperty(W, "x-file", Q(File));
        WriteVariant(W, QString::fromLatin1(SourceLanguage), Pair.English);
        WriteVariant(W, Q(Tag), Pair.Translation);
        W.writeEndElement();
    }
    FUnits += static_cast<int>(Pairs.size());
    return static_cast<int>(Pairs.size());
}

QByteArray TTmxWriter::Finish() {
    W.writeEndDocument();
    return FBytes;
}

namespace {

// The window's boxes for the documents opened aside, but not its caption, status bar or
// update lock: those belong to the document the window shows.
class TAsideUserInterface : public UserInterface {
public:
    explicit TAsideUserInterface(UserInterface& Window) : FWindow(Window) {}
    TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type,
                            TMsgDlgButtons Buttons) override {
        return FWindow.MessageDlg(Text, Type, Buttons);
    }
    void ShowError(const std::string& Text) override { FWindow.ShowError(Text); }
    void SetStatusText(int Panel, const std::string& Text) override { FStatus[Panel] = Text; }
    std::string StatusText(int Panel) const override {
        const auto Found = FStatus.find(Panel);
        return Found == FStatus.end() ? std::string() : Found->second;
    }
    void Beep() override { FWindow.Beep(); }
    size_t ListLimit() const override { return FWindow.ListLimit(); }
    std::optional<size_t> ChooseItem(const std::string& Title, const std::string& Prompt,
                                     const std::vector<std::string>& Items) override {
        return FWindow.ChooseItem(Title, Prompt, Items);
    }

private:
    UserInterface& FWindow;
    std::map<int, std::string> FStatus;
};

bool SameFile(const std::string& A, const std::string& B) {
    std::error_code Error;
    return std::filesystem::equivalent(A, B, Error);
}

} // namespace

TTmxFiles AddLanguageFiles(TTmxWriter& Memory, const std::vector<std::string>& Files,
                           const std::string& ProgramDir, UserInterface& UI,
                           const std::function<void(const std::string& File, int Pairs)>& OnFile,
                           const TDocument* Open) {
    TTmxFiles Result;
    for (const std::string& File : Files) {
        if (Open && SameFile(File, Open->State().FFileName)) {
            OnFile(File, Memory.AddDocument(Open->State(), Open->Items()));
            continue;
        }
        TStyledGridModel Grid;
        TDocument Doc(Grid, UI);
        Doc.SetFolders(ProgramDir);
        ConfigureTable(Grid);
        if (!Doc.OpenPath(File)) {
            Result.Opened = false;
            return Result;
        }
        Result.Partial =
            Result.Partial || Doc.LastLoad().Findings > 0 || Doc.NewDocumentFindings() > 0;
        OnFile(File, Memory.AddDocument(Doc.State(), Doc.Items()));
    }
    return Result;
}

void AskAndExportFolderTmx(const TDocument& Doc, UserInterface& UI) {
    const std::string& Folder = Doc.State().FProgramDir;
    const std::vector<std::string> Files = LanguageFilesOf(Folder);
    if (Files.empty()) {
        UI.MessageDlg("No language file (Kavr_*.str) in " + Folder + "Language/.",
                      TMsgDlgType::mtWarning, mbOK);
        return;
    }
    const std::optional<std::string> Path = UI.SaveDialog(Folder, TmxFilter, FolderMemoryName);
    if (!Path)
        return;
    TTmxWriter Memory;
    {
        TPleaseWait Wait(UI, "Writing " + FileNamePart(*Path));
        TAsideUserInterface Aside(UI);
        if (!AddLanguageFiles(
                 Memory, Files, Folder, Aside, [](const std::string&, int) {}, &Doc)
                 .Opened)
            return;
        WriteExchangeFile(*Path, Memory.Finish());
    }
    UI.MessageDlg("Wrote " + *Path + " (" + std::to_string(Memory.Units()) +
                      " translation units from " + std::to_string(Files.size()) + " files).",
                  TMsgDlgType::mtInformation, mbOK);
}

} // namespace kav
