#include "document/FontSubstitutes.h"

#include "document/IniLines.h"
#include "document/ProgramFolder.h"

namespace kav {

namespace {

QString FaceKey(const QString& Face) {
    return Face.trimmed().toLower();
}

// A language as the program folder's file names spell it: three letters (Kavr_JPN.str).
bool IsLanguageCode(const QString& Code) {
    if (Code.size() != 3)
        return false;
    for (const QChar C : Code)
        if (!(C >= u'A' && C <= u'Z') && !(C >= u'a' && C <= u'z'))
            return false;
    return true;
}

} // namespace

TFontSubstitutes TFontSubstitutes::FromFile(const std::string& File,
                                            std::vector<std::string>& Errors) {
    const std::optional<QString> Text = IniFileText(File, Errors);
    return Text ? FromText(*Text, File, Errors) : TFontSubstitutes();
}

TFontSubstitutes TFontSubstitutes::FromText(const QString& Text, const std::string& Name,
                                            std::vector<std::string>& Errors) {
    TFontSubstitutes Table;
    QString Language; // empty under a faulty header: its lines are left out
    TIniVisitor Visit;
    Visit.Section = [&](const std::optional<QString>& Code, const TIniLine& Line) {
        Language.clear();
        if (!Code)
            return;
        if (!IsLanguageCode(*Code))
            Errors.push_back(Line.Where + "not a language code: " + Code->toStdString() +
                             " (three letters, as in Kavr_JPN.str)");
        else
            Language = Code->toUpper();
    };
    Visit.Entry = [&](bool InSection, const TIniLine& Line) {
        if (!InSection) {
            Errors.push_back(Line.Where + "a substitute needs its [language] section above it");
            return;
        }
        if (Language.isEmpty())
            return;
        const auto Pair = IniKeyValue(Line.Text);
        if (!Pair || Pair->second.isEmpty()) {
            Errors.push_back(Line.Where +
                             "not an Item face=Product face line: " + Line.Text.toStdString());
            return;
        }
        const auto& [Face, Product] = *Pair;
        const auto [At, New] = Table.FFaces.try_emplace({Language, FaceKey(Face)},
                                                        TEntry{Product.toStdString(), Line.Number});
        if (!New)
            Errors.push_back(Line.Where + Face.toStdString() + " has its substitute in [" +
                             Language.toStdString() + "] already (line " +
                             std::to_string(At->second.Line) + ")");
    };
    ReadIniLines(Text, Name, Errors, Visit);
    return Table;
}

std::string TFontSubstitutes::Of(const std::string& LanguageCode, const std::string& Face) const {
    if (FFaces.empty())
        return {}; // most projects have none: no key is built for every row
    const auto Found = FFaces.find({QString::fromStdString(LanguageCode).trimmed().toUpper(),
                                    FaceKey(QString::fromStdString(Face))});
    return Found == FFaces.end() ? std::string() : Found->second.Face;
}

std::string FontSubstitutesFile(const std::string& ProgramDir) {
    return ProductFontFolder(ProgramDir) + "Substitutes.ini";
}

const TFontSubstitutes& ProjectSubstitutes(const std::string& ProgramDir,
                                           std::vector<std::string>* Errors) {
    return ReadOncePerFolder<TFontSubstitutes>(
        ProgramDir, Errors, [](const std::string& Dir, std::vector<std::string>& Problems) {
            return TFontSubstitutes::FromFile(FontSubstitutesFile(Dir), Problems);
        });
}

} // namespace kav
