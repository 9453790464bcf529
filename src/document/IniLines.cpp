#include "document/IniLines.h"

#include <QFile>
#include <QStringList>

namespace kav {

std::optional<QString> IniFileText(const std::string& File, std::vector<std::string>& Errors) {
    QFile F(QString::fromStdString(File));
    if (!F.exists())
        return std::nullopt;
    if (!F.open(QIODevice::ReadOnly)) {
        Errors.push_back(File + ": cannot be read: " + F.errorString().toStdString());
        return std::nullopt;
    }
    return QString::fromUtf8(F.readAll());
}

void ReadIniLines(const QString& Text, const std::string& Name, std::vector<std::string>& Errors,
                  const TIniVisitor& Visit) {
    bool InSection = false;
    const QStringList Lines = Text.split(u'\n');
    for (qsizetype I = 0; I < Lines.size(); ++I) {
        TIniLine Line{Lines[I].trimmed(), static_cast<int>(I + 1), {}};
        if (Line.Text.isEmpty() || Line.Text.startsWith(u';') || Line.Text.startsWith(u'#'))
            continue;
        Line.Where = Name + ":" + std::to_string(Line.Number) + ": ";
        if (!Line.Text.startsWith(u'[')) {
            Visit.Entry(InSection, Line);
            continue;
        }
        InSection = true;
        if (!Line.Text.endsWith(u']')) {
            Errors.push_back(Line.Where + "a section name needs its closing ]");
            Visit.Section(std::nullopt, Line);
            continue;
        }
        Visit.Section(Line.Text.mid(1, Line.Text.size() - 2).trimmed(), Line);
    }
}

std::optional<std::pair<QString, QString>> IniKeyValue(const QString& Line) {
    const qsizetype Equals = Line.indexOf(u'=', 1); // "%=" is a key, not a blank one
    if (Equals < 0)
        return std::nullopt;
    const QString Key = Line.left(Equals).trimmed();
    if (Key.isEmpty())
        return std::nullopt;
    return std::pair{Key, Line.mid(Equals + 1).trimmed()};
}

} // namespace kav
