#include "document/PlaceholderSamples.h"

#include "document/TextChecks.h"

#include <QFile>
#include <QStringList>

#include <mutex>

namespace kav {

namespace {

// Long enough for what Windows programs put there: a folder name of the system, the widest
// 32-bit numbers in their forms, a wide letter.
struct TDefault {
    const char* Form;
    const char* Sample;
};
constexpr TDefault Defaults[] = {
    {"%s", "Documents and Settings"},
    {"%1", "Documents and Settings"},
    {"%d", "-2147483648"},
    {"%u", "4294967295"},
    {"%x", "ffffffff"},
    {"%X", "FFFFFFFF"},
    {"%o", "37777777777"},
    {"%c", "W"},
    {"%f", "-2147483648.000000"},
    {"%e", "-1.797693e+308"},
    {"%g", "-1.79769e+308"},
    {"%p", "00000000FFFFFFFF"},
};

// The form whose sample a specifier takes when it has no line of its own: "%" and its
// conversion ("i" reads as "d", a capital "S" or "C" as the wide string or character), or
// "%1" for a Windows insert without a format.
QString FormOf(const QString& Specifier) {
    QString Body = Specifier;
    const qsizetype Bang = Body.indexOf(u'!');
    if (Bang > 0 && Body.endsWith(u'!')) // %1!d!: the insert's printf format decides
        Body = Body.mid(Bang + 1, Body.size() - Bang - 2);
    const QChar Last = Body.isEmpty() ? QChar() : Body.back();
    if (Last.isDigit())
        return "%1";
    switch (Last.unicode()) {
    case u'i':
        return "%d";
    case u'S':
        return "%s";
    case u'C':
        return "%c";
    case u'E':
        return "%e";
    case u'G':
        return "%g";
    case u'F':
        return "%f";
    default:
        return QStringLiteral("%") + Last;
    }
}

QString Unquoted(QString Value) {
    // Quotes keep the blanks at the ends of a sample.
    if (Value.size() >= 2 && Value.startsWith(u'"') && Value.endsWith(u'"'))
        return Value.mid(1, Value.size() - 2);
    return Value;
}

} // namespace

TPlaceholderSamples::TPlaceholderSamples() {
    for (const TDefault& D : Defaults)
        FSamples[QString::fromLatin1(D.Form)] = QString::fromLatin1(D.Sample);
}

TPlaceholderSamples TPlaceholderSamples::FromFile(const std::string& File,
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

TPlaceholderSamples TPlaceholderSamples::FromText(const QString& Text, const std::string& Name,
                                                  std::vector<std::string>& Errors) {
    TPlaceholderSamples Samples;
    bool InSamples = false;
    const QStringList Lines = Text.split(u'\n');
    for (qsizetype I = 0; I < Lines.size(); ++I) {
        const QString Line = Lines[I].trimmed();
        const std::string Where = Name + ":" + std::to_string(I + 1) + ": ";
        if (Line.isEmpty() || Line.startsWith(u';') || Line.startsWith(u'#'))
            continue;
        if (Line.startsWith(u'[')) {
            if (!Line.endsWith(u']'))
                Errors.push_back(Where + "a section name needs its closing ]");
            InSamples = Line.compare("[Samples]", Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!InSamples)
            continue;
        const qsizetype Equals = Line.indexOf(u'=', 1); // "%=" is no placeholder
        const QString Key = Equals > 0 ? Line.left(Equals).trimmed() : QString();
        if (Key.isEmpty()) {
            Errors.push_back(Where + "not a placeholder=sample line: " + Line.toStdString());
            continue;
        }
        const std::vector<QString> Found = FormatSpecifiers(Key);
        if (Found.size() != 1 || Found[0] != Key) {
            Errors.push_back(Where + "not a placeholder: " + Key.toStdString());
            continue;
        }
        Samples.FSamples[Key] = Unquoted(Line.mid(Equals + 1).trimmed());
    }
    return Samples;
}

QString TPlaceholderSamples::SampleOf(const QString& Specifier) const {
    if (Specifier == "%%")
        return "%";
    if (auto Own = FSamples.find(Specifier); Own != FSamples.end())
        return Own->second;
    if (auto Form = FSamples.find(FormOf(Specifier)); Form != FSamples.end())
        return Form->second;
    return Specifier; // a conversion with no sample keeps its width as written
}

QString TPlaceholderSamples::Filled(const QString& Text) const {
    QString Result;
    qsizetype From = 0;
    for (const QString& Specifier : FormatSpecifiers(Text)) {
        const qsizetype At = Text.indexOf(Specifier, From);
        Result += Text.mid(From, At - From) + SampleOf(Specifier);
        From = At + Specifier.size();
    }
    return Result + Text.mid(From);
}

bool TPlaceholderSamples::Fills(const QString& Text) const {
    for (const QString& Specifier : FormatSpecifiers(Text))
        if (SampleOf(Specifier) != Specifier)
            return true;
    return false;
}

std::string PlaceholderSamplesFile(const std::string& ProgramDir) {
    return ProgramDir + "Placeholders.ini";
}

const TPlaceholderSamples& ProjectSamples(const std::string& ProgramDir,
                                          std::vector<std::string>* Errors) {
    struct TRead {
        TPlaceholderSamples Samples;
        std::vector<std::string> Errors;
    };
    static std::mutex Guard;
    static std::map<std::string, TRead> Read;
    const std::lock_guard<std::mutex> Lock(Guard);
    auto Found = Read.find(ProgramDir);
    if (Found == Read.end()) {
        TRead R;
        if (!ProgramDir.empty())
            R.Samples = TPlaceholderSamples::FromFile(PlaceholderSamplesFile(ProgramDir), R.Errors);
        Found = Read.emplace(ProgramDir, std::move(R)).first;
    }
    if (Errors)
        *Errors = Found->second.Errors;
    return Found->second.Samples;
}

} // namespace kav
