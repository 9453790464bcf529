#pragma once
// TMX 1.4, the translation memory CAT tools import: the English and translation of every
// translated item of one or more language files, each pair with the item's constant name and
// file as properties, so that the tools propose the product's own wording again.

#include "document/DocumentState.h"
#include "document/Items.h"
#include "document/UserInterface.h"

#include <QByteArray>
#include <QXmlStreamWriter>

#include <functional>
#include <string>
#include <vector>

namespace kav {

class TTmxWriter {
public:
    TTmxWriter();
    TTmxWriter(const TTmxWriter&) = delete;
    TTmxWriter& operator=(const TTmxWriter&) = delete;

    // The translated items of a document (those kept in English or empty give no pair).
    // Returns the pairs added; throws ToolError, before adding any, when the document's
    // language has no tag or a text holds what XML cannot.
    int AddDocument(const TDocumentState& State, const TItemTable& Items);
    int Units() const { return FUnits; }
    // The whole memory; the writer takes no more documents after it.
    QByteArray Finish();

private:
    QByteArray FBytes;
    QXmlStreamWriter W{&FBytes};
    int FUnits = 0;
};

constexpr const char* TmxFilter = "TMX Files (*.tmx)|*.tmx";
// The memory's name in its program folder.
constexpr const char* FolderMemoryName = "Kavrino.tmx";

class TDocument;

// What adding language files met.
struct TTmxFiles {
    bool Opened = true;   // false: a file did not open (UI said why) and the rest were not read
    bool Partial = false; // a file's reading left content out, or UI was warned
};

// Opens each of Files as File > Open does, in a document of its own with the program folder
// ProgramDir, and adds its pairs to Memory; OnFile hears each file's pairs. Open, when given,
// stands for its own file with what it holds now, saved or not. Throws ToolError as
// AddDocument does.
TTmxFiles AddLanguageFiles(TTmxWriter& Memory, const std::vector<std::string>& Files,
                           const std::string& ProgramDir, UserInterface& UI,
                           const std::function<void(const std::string& File, int Pairs)>& OnFile,
                           const TDocument* Open = nullptr);

// File > Export > Translation Memory: every language file of the open document's program
// folder, the open document as it is now, in one TMX file chosen in the dialog.
void AskAndExportFolderTmx(const TDocument& Doc, UserInterface& UI);

} // namespace kav
