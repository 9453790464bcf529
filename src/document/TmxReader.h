#pragma once
// Reading TMX 1.4 translation memories, as agencies and CAT tools hand them over: the English
// and the translated segment of each translation unit. Inline codes (bpt, ept, it, ph) are the
// formatting of the original and are left out of the texts; hi and sub keep their text.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace kav {

struct TTmxUnit {
    QString Source; // the English segment
    QString Target;
};

struct TTmxRead {
    std::vector<TTmxUnit> Units;
    // Empty when the file was read whole; else what stopped it, naming the file and line.
    std::string Error;
};

// The language tags a TMX file may give the language with that three-letter Windows code:
// the ISO 639 codes in lower case ("FRA" -> "fr", "fra", "fre"); empty for an unknown code.
QStringList TmxLanguageTags(const std::string& LanguageCode);

// The units of Data (the file at Path, named in the error) whose English segment (a tuv whose
// xml:lang is "en" or "en-...") and a segment in one of TargetTags (compared by the tag's
// primary part, case-insensitively) are both present and not empty.
TTmxRead ReadTmx(const QByteArray& Data, const std::string& Path, const QStringList& TargetTags);

} // namespace kav
