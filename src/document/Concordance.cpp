#include "document/Concordance.h"

#include "text/CodePage.h"

namespace kav {

std::vector<TConcordanceHit> SearchConcordance(const QString& Phrase, const TItemTable& Items,
                                               int TranslatedCodePage,
                                               const TTranslationMemory* Memory,
                                               const std::string& OwnFile, size_t Limit) {
    std::vector<TConcordanceHit> Hits;
    const QString Wanted = Phrase.trimmed();
    if (Wanted.isEmpty())
        return Hits;
    auto Holds = [&Wanted](const QString& Text) {
        return Text.contains(Wanted, Qt::CaseInsensitive);
    };
    const int AnsiCodePage = SystemAnsiCodePage();
    for (TItemId Id = 0; Id < Items.Count() && Hits.size() < Limit; ++Id) {
        const QString English = DecodeBytes(Items.Default(Id), AnsiCodePage);
        const QString Translation = DecodeBytes(Items.Translation(Id), TranslatedCodePage);
        if (Holds(English) || Holds(Translation))
            Hits.push_back(
                {Id, Items.Caption(Id) + " " + std::string(Items.Name(Id)), English, Translation});
    }
    for (int I = 0; Memory && I < Memory->Count() && Hits.size() < Limit; ++I) {
        const TMemoryPair& Pair = Memory->Pair(I);
        if (Pair.Origin != OwnFile && (Holds(Pair.Source) || Holds(Pair.Target)))
            Hits.push_back({NoItem, Pair.Origin, Pair.Source, Pair.Target});
    }
    return Hits;
}

} // namespace kav
