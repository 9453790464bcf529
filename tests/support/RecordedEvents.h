#pragma once
// A document observer for tests: records every event the document raises, so that a test
// checks what a window showing the document would have been told.

#include "document/DocumentEvents.h"

#include <string>
#include <vector>

namespace kav {

struct TRecordedEvents : IDocumentObserver {
    int TablesLoaded = 0;
    std::vector<std::string> Opened;    // paths of FileOpened
    std::vector<std::string> Languages; // codes of LanguageChanged
    std::vector<StrFileKind> Kinds;
    std::vector<TSoftware> Softwares;
    bool LanguageMissingMarked = false;

    void TableLoaded() override { ++TablesLoaded; }
    void FileOpened(const std::string& Path, bool) override { Opened.push_back(Path); }
    void LanguageChanged(const std::string& Code) override { Languages.push_back(Code); }
    void KindChanged(StrFileKind Kind) override { Kinds.push_back(Kind); }
    void SoftwareChanged(TSoftware Software) override { Softwares.push_back(Software); }
    void LanguageMissing() override { LanguageMissingMarked = true; }
};

} // namespace kav
