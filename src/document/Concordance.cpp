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
    auto Holds = [&Wanted](QStringView Text) { return Text.contains(Wanted, Qt::CaseInsensitive); };
    const int AnsiCodePage = SystemAnsiCodePage();
    for (TItemId Id = 0; Id < Items.Count() && Hits.size() < Limit; ++Id) {
        const QString English = DecodeBytes(Items.Default(Id), AnsiCodePage);
        const QString Translation = DecodeBytes(Items.Translation(Id), TranslatedCodePage);
        if (Holds(English) || Holds(Translation))
            Hits.push_back(
                {Id, Items.Caption(Id) + " " + std::string(Items.Name(Id)), English, Translation});
    }
    for (int I = 0; Memory && I < Memory->Count() && Hits.size() < Limit; ++I) {
        if (Memory->Origin(I) != OwnFile && (Holds(Memory->Source(I)) || Holds(Memory->Target(I))))
            Hits.push_back({NoItem, Memory->Origin(I), Memory->Source(I).toString(),
                            Memory->Target(I).toString()});
    }
    return Hits;
}

} // namespace kav
