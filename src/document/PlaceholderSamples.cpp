#include "document/PlaceholderSamples.h"

#include "document/IniLines.h"
#include "document/TextChecks.h"

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
    const std::optional<QString> Text = IniFileText(File, Errors);
    return Text ? FromText(*Text, File, Errors) : TPlaceholderSamples();
}

TPlaceholderSamples TPlaceholderSamples::FromText(const QString& Text, const std::string& Name,
                                                  std::vector<std::string>& Errors) {
    TPlaceholderSamples Samples;
    bool InSamples = false;
    TIniVisitor Visit;
    Visit.Section = [&](const std::optional<QString>& Section, const TIniLine&) {
        InSamples = Section && Section->compare("Samples", Qt::CaseInsensitive) == 0;
    };
    Visit.Entry = [&](bool, const TIniLine& Line) {
        if (!InSamples)
            return;
        const auto Pair = IniKeyValue(Line.Text);
        if (!Pair) {
            Errors.push_back(Line.Where +
                             "not a placeholder=sample line: " + Line.Text.toStdString());
            return;
        }
        const auto& [Key, Value] = *Pair;
        const std::vector<QString> Found = FormatSpecifiers(Key);
        if (Found.size() != 1 || Found[0] != Key) {
            Errors.push_back(Line.Where + "not a placeholder: " + Key.toStdString());
            return;
        }
        Samples.FSamples[Key] = Unquoted(Value);
    };
    ReadIniLines(Text, Name, Errors, Visit);
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
    return ReadOncePerFolder<TPlaceholderSamples>(
        ProgramDir, Errors, [](const std::string& Dir, std::vector<std::string>& Problems) {
            return TPlaceholderSamples::FromFile(PlaceholderSamplesFile(Dir), Problems);
        });
}

} // namespace kav
