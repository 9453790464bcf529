#pragma once
// Concordance: every place a word or phrase occurs, in the English or in a translation, among
// the document's items and the translation memory, so that the translator sees how it was
// translated before.

#include "document/Items.h"
#include "document/TranslationMemory.h"

#include <QString>

#include <string>
#include <vector>

namespace kav {

struct TConcordanceHit {
    TItemId Item = NoItem; // an item of the document, or NoItem for a memory pair
    std::string Where;     // "item 12 MENU_FILE", or the memory pair's file
    QString English;
    QString Translation;
};

// The items, then the memory's pairs, whose English or translation holds Phrase (letter case
// ignored), at most Limit of them; the memory's pairs from OwnFile (the document's file as
// last read) are the document's items again and are left out.
std::vector<TConcordanceHit> SearchConcordance(const QString& Phrase, const TItemTable& Items,
                                               int TranslatedCodePage,
                                               const TTranslationMemory* Memory,
                                               const std::string& OwnFile, size_t Limit = 1000);

} // namespace kav
