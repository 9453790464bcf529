#pragma once
// Filling untranslated items from the translation memory: what each would get, and putting it
// in as one undo step. kavtool pretranslate, the window's "Translate all exact matches" and
// the offer to use a translation for the items with the same English share it.

#include "document/Items.h"
#include "document/TranslationMemory.h"

#include <string>
#include <vector>

namespace kav {

class TDocument;

// An item without a translation of its own: none at all, or the default text kept as it is.
bool IsUntranslatedItem(const TItemTable& Items, TItemId Id);

struct TPretranslation {
    TItemId Id = NoItem;
    std::string Bytes; // the translation, in the code page of the translated texts
    TMemoryMatch Match;
};

struct TPretranslationPlan {
    std::vector<TPretranslation> Fills;
    int Untranslated = 0; // untranslated items looked up
    // Matches the items cannot take: the code page lacks a character, or the text holds what a
    // language file cannot (a double quote, a line break).
    int Refused = 0;
};

// The best match of at least MinScore for each untranslated item, in item order.
TPretranslationPlan PlanPretranslation(const TItemTable& Items, const TTranslationMemory& Memory,
                                       int CodePage, int MinScore);

// Puts the planned translations into the items that are still untranslated, as one step named
// "Pretranslate (N items)"; returns the items changed.
int ApplyPretranslation(TDocument& Doc, const TPretranslationPlan& Plan);

// "12 of 30 untranslated items filled from the memory (10 exact, 2 fuzzy), 1 refused"
std::string PretranslationSummary(const TPretranslationPlan& Plan, int Filled);

// Items other than Except that are untranslated and have English Default, byte for byte.
std::vector<TItemId> UntranslatedWithDefault(const TItemTable& Items, std::string_view Default,
                                             TItemId Except);

// Gives every item of Ids the translation Bytes (those still untranslated), as one step named
// Name with the count; returns the items changed.
int FillItems(TDocument& Doc, const std::vector<TItemId>& Ids, const std::string& Bytes,
              const std::string& Name);

} // namespace kav
