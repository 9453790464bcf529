#include "document/FontSubstitutes.h"

#include "document/ProgramFolder.h"

#include <QFile>
#include <QStringList>

#include <mutex>

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
    QFile F(QString::fromStdString(File));
    if (!F.exists())
        return {};
    if (!F.open(QIODevice::ReadOnly)) {
        Errors.push_back(File + ": cannot be read: " + F.errorString().toStdString());
        return {};
    }
    return FromText(QString::fromUtf8(F.readAll()), File, Errors);
}

TFontSubstitutes TFontSubstitutes::FromText(const QString& Text, const std::string& Name,
                                            std::vector<std::string>& Errors) {
    TFontSubstitutes Table;
    QString Language; // empty before the first good section
    bool InSection = false;
    const QStringList Lines = Text.split(u'\n');
    for (qsizetype I = 0; I < Lines.size(); ++I) {
        const QString Line = Lines[I].trimmed();
        const int Number = static_cast<int>(I + 1);
        const std::string Where = Name + ":" + std::to_string(Number) + ": ";
        if (Line.isEmpty() || Line.startsWith(u';') || Line.startsWith(u'#'))
            continue;
        if (Line.startsWith(u'[')) {
            InSection = true;
            Language.clear();
            if (!Line.endsWith(u']')) {
                Errors.push_back(Where + "a section name needs its closing ]");
                continue;
            }
            const QString Code = Line.mid(1, Line.size() - 2).trimmed();
            if (!IsLanguageCode(Code))
                Errors.push_back(Where + "not a language code: " + Code.toStdString() +
                                 " (three letters, as in Kavr_JPN.str)");
            else
                Language = Code.toUpper();
            continue;
        }
        if (!InSection) {
            Errors.push_back(Where + "a substitute needs its [language] section above it");
            continue;
        }
        if (Language.isEmpty())
            continue; // the faulty section's lines: its header was reported
        const qsizetype Equals = Line.indexOf(u'=');
        const QString Face = Equals > 0 ? Line.left(Equals).trimmed() : QString();
        const QString Product = Equals > 0 ? Line.mid(Equals + 1).trimmed() : QString();
        if (Face.isEmpty() || Product.isEmpty()) {
            Errors.push_back(Where + "not an Item face=Product face line: " + Line.toStdString());
            continue;
        }
        const auto [At, New] = Table.FFaces.try_emplace({Language, FaceKey(Face)},
                                                        TEntry{Product.toStdString(), Number});
        if (!New)
            Errors.push_back(Where + Face.toStdString() + " has its substitute in [" +
                             Language.toStdString() + "] already (line " +
                             std::to_string(At->second.Line) + ")");
    }
    return Table;
}

std::string TFontSubstitutes::Of(const std::string& LanguageCode, const std::string& Face) const {
    const auto Found = FFaces.find({QString::fromStdString(LanguageCode).trimmed().toUpper(),
                                    FaceKey(QString::fromStdString(Face))});
    return Found == FFaces.end() ? std::string() : Found->second.Face;
}

std::string FontSubstitutesFile(const std::string& ProgramDir) {
    return ProductFontFolder(ProgramDir) + "Substitutes.ini";
}

const TFontSubstitutes& ProjectSubstitutes(const std::string& ProgramDir,
                                           std::vector<std::string>* Errors) {
    struct TRead {
        TFontSubstitutes Table;
        std::vector<std::string> Errors;
    };
    static std::mutex Guard;
    static std::map<std::string, TRead> Read;
    const std::lock_guard<std::mutex> Lock(Guard);
    auto Found = Read.find(ProgramDir);
    if (Found == Read.end()) {
        TRead R;
        if (!ProgramDir.empty())
            R.Table = TFontSubstitutes::FromFile(FontSubstitutesFile(ProgramDir), R.Errors);
        Found = Read.emplace(ProgramDir, std::move(R)).first;
    }
    if (Errors)
        *Errors = Found->second.Errors;
    return Found->second.Table;
}

} // namespace kav
