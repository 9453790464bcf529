#include "document/ProductDisplay.h"

#include "grid/CellProperties.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>

namespace kav {

namespace {

bool IsSection(const QString& Line) {
    return Line.startsWith(u'[');
}

bool IsDisplaySection(const QString& Line) {
    return Line.compare("[Display]", Qt::CaseInsensitive) == 0;
}

// "Dpi=120" (blanks and letter case of the name ignored): the value, else nothing.
bool IsDpiLine(const QString& Line, QString& Value) {
    const qsizetype Equals = Line.indexOf(u'=');
    if (Equals <= 0 || Line.left(Equals).trimmed().compare("Dpi", Qt::CaseInsensitive) != 0)
        return false;
    Value = Line.mid(Equals + 1).trimmed();
    return true;
}

QStringList FileLines(const std::string& File) {
    QFile F(QString::fromStdString(File));
    if (!F.open(QIODevice::ReadOnly))
        return {};
    QString Text = QString::fromUtf8(F.readAll());
    Text.remove(u'\r');
    QStringList Lines = Text.split(u'\n');
    if (!Lines.isEmpty() && Lines.back().isEmpty())
        Lines.removeLast();
    return Lines;
}

} // namespace

const std::vector<int>& ProductDpis() {
    static const std::vector<int> Dpis = {96, 120, 144, 168, 192};
    return Dpis;
}

bool IsProductDpi(int Dpi) {
    return std::find(ProductDpis().begin(), ProductDpis().end(), Dpi) != ProductDpis().end();
}

std::string ProductDpiName(int Dpi) {
    return std::to_string(Dpi) + " dpi (" + std::to_string(MulDiv(Dpi, 100, BaseDpi)) + " %)";
}

std::string ProductSettingsFile(const std::string& ProgramDir) {
    return ProgramDir + "Product.ini";
}

int ProductDpi(const std::string& ProgramDir, std::vector<std::string>* Errors) {
    if (ProgramDir.empty())
        return BaseDpi;
    const std::string File = ProductSettingsFile(ProgramDir);
    const QStringList Lines = FileLines(File);
    bool InDisplay = false;
    int Dpi = BaseDpi;
    for (qsizetype I = 0; I < Lines.size(); ++I) {
        const QString Line = Lines[I].trimmed();
        if (IsSection(Line)) {
            InDisplay = IsDisplaySection(Line);
            continue;
        }
        QString Value;
        if (!InDisplay || !IsDpiLine(Line, Value))
            continue;
        bool Number = false;
        const int Read = Value.toInt(&Number);
        if (Number && IsProductDpi(Read)) {
            Dpi = Read;
        } else if (Errors) {
            Errors->push_back(File + ":" + std::to_string(I + 1) + ": not a display setting: " +
                              Value.toStdString() + " (96, 120, 144, 168 or 192 dpi)");
        }
    }
    return Dpi;
}

bool SetProductDpi(const std::string& ProgramDir, int Dpi, std::string& Error) {
    const std::string File = ProductSettingsFile(ProgramDir);
    QStringList Lines = FileLines(File);
    const QString Setting = QStringLiteral("Dpi=%1").arg(Dpi);
    bool InDisplay = false;
    qsizetype Display = -1; // the line after which a missing setting goes
    bool Written = false;
    for (qsizetype I = 0; I < Lines.size(); ++I) {
        const QString Line = Lines[I].trimmed();
        if (IsSection(Line)) {
            InDisplay = IsDisplaySection(Line);
            if (InDisplay && Display < 0)
                Display = I;
            continue;
        }
        QString Value;
        if (InDisplay && IsDpiLine(Line, Value)) {
            Lines[I] = Written ? QString() : Setting;
            Written = true;
        }
    }
    if (!Written) {
        if (Display >= 0) {
            Lines.insert(Display + 1, Setting);
        } else {
            Lines << "[Display]"
                  << "; Widths are the product's pixels at 96 dpi; at a larger setting the texts"
                  << "; are measured as the product draws them there, against scaled widths."
                  << Setting;
        }
    }
    QSaveFile Out(QString::fromStdString(File));
    if (!Out.open(QIODevice::WriteOnly)) {
        Error = File + ": " + Out.errorString().toStdString();
        return false;
    }
    Out.write((Lines.join('\n') + '\n').toUtf8());
    if (!Out.commit()) {
        Error = File + ": " + Out.errorString().toStdString();
        return false;
    }
    return true;
}

int ScaledToDpi(int Pixels, int Dpi) {
    return MulDiv(Pixels, Dpi, BaseDpi);
}

} // namespace kav
