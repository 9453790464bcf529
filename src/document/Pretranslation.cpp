#include "document/Pretranslation.h"

#include "document/Document.h"
#include "document/DocumentEdit.h"
#include "text/CodePage.h"

namespace kav {

bool IsUntranslatedItem(const TItemTable& Items, TItemId Id) {
    const std::string_view Translation = Items.Translation(Id);
    return Translation.empty() || Translation == Items.Default(Id);
}

TPretranslationPlan PlanPretranslation(const TItemTable& Items, const TTranslationMemory& Memory,
                                       int CodePage, int MinScore) {
    TPretranslationPlan Plan;
    const int AnsiCodePage = SystemAnsiCodePage();
    for (TItemId Id = 0; Id < Items.Count(); ++Id) {
        if (Items.Default(Id).empty() || !IsUntranslatedItem(Items, Id))
            continue;
        ++Plan.Untranslated;
        const std::vector<TMemoryMatch> Best =
            Memory.Lookup(DecodeBytes(Items.Default(Id), AnsiCodePage), 1, MinScore);
        if (Best.empty())
            continue;
        const QString Target = Memory.Target(Best[0].Pair).toString();
        const EncodeResult Encoded = EncodeText(Target, CodePage);
        if (!Encoded.Ok() || !RefusedInItemText(Target, TItemField::Translation).isNull()) {
            ++Plan.Refused;
            continue;
        }
        Plan.Fills.push_back({Id, *Encoded.Bytes, Best[0]});
    }
    return Plan;
}

int ApplyPretranslation(TDocument& Doc, const TPretranslationPlan& Plan) {
    TDocumentEdit Edit(Doc, {});
    Edit.NameBy([](const TDocumentStep& Step) {
        return CountedStepName("Pretranslate", Step.TranslationsChanged());
    });
    for (const TPretranslation& Fill : Plan.Fills)
        if (Doc.Items().Contains(Fill.Id) && IsUntranslatedItem(Doc.Items(), Fill.Id))
            Edit.SetTranslation(Fill.Id, Fill.Bytes);
    return Edit.Commit();
}

std::string PretranslationSummary(const TPretranslationPlan& Plan, int Filled) {
    int Exact = 0;
    for (const TPretranslation& Fill : Plan.Fills)
        Exact += Fill.Match.Score == ExactScore ? 1 : 0;
    const int Fuzzy = static_cast<int>(Plan.Fills.size()) - Exact;
    std::string Text = std::to_string(Filled) + " of " + std::to_string(Plan.Untranslated) +
                       " untranslated items filled from the memory (" + std::to_string(Exact) +
                       " exact, " + std::to_string(Fuzzy) + " fuzzy)";
    if (Plan.Refused > 0)
        Text += ", " + std::to_string(Plan.Refused) + " refused: the file cannot hold the text";
    return Text;
}

std::vector<TItemId> UntranslatedWithDefault(const TItemTable& Items, std::string_view Default,
                                             TItemId Except) {
    std::vector<TItemId> Ids;
    if (Default.empty())
        return Ids;
    for (TItemId Id = 0; Id < Items.Count(); ++Id)
        if (Id != Except && Items.Default(Id) == Default && IsUntranslatedItem(Items, Id))
            Ids.push_back(Id);
    return Ids;
}

int FillItems(TDocument& Doc, const std::vector<TItemId>& Ids, const std::string& Bytes,
              const std::string& Name) {
    TDocumentEdit Edit(Doc, {});
    Edit.NameBy([Name](const TDocumentStep& Step) {
        return CountedStepName(Name, Step.TranslationsChanged());
    });
    for (TItemId Id : Ids)
        if (Doc.Items().Contains(Id) && IsUntranslatedItem(Doc.Items(), Id))
            Edit.SetTranslation(Id, Bytes);
    return Edit.Commit();
}

} // namespace kav
