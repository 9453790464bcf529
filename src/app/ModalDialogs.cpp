#include "app/ModalDialogs.h"

#include "document/DocumentState.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include <iostream>

namespace kav {

namespace {

QString Caption(TMsgDlgType Type) {
    switch (Type) {
    case TMsgDlgType::mtWarning:
        return "Warning";
    case TMsgDlgType::mtError:
        return "Error";
    case TMsgDlgType::mtInformation:
        return "Information";
    case TMsgDlgType::mtConfirmation:
        return "Confirm";
    }
    return {};
}

QMessageBox::Icon IconOf(TMsgDlgType Type) {
    switch (Type) {
    case TMsgDlgType::mtWarning:
        return QMessageBox::Warning;
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Either letter case of every letter: "*.STR" -> "*.[sS][tT][rR]".
QString AnyCase(const QString& Pattern) {
    QString Out;
    for (QChar C : Pattern) {
        if (C.isLetter())
            Out += QString("[%1%2]").arg(C.toLower(), C.toUpper());
        else
            Out += C;
    }
    return Out;
}

} // namespace

void NameApplication() {
    QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
}

QString QtFilter(const std::string& Filter) {
    const QStringList Parts = QString::fromStdString(Filter).split('|');
    QStringList Filters;
    for (qsizetype i = 0; i + 1 < Parts.size(); i += 2) {
        QString Pattern = Parts[i + 1] == "*.*" ? QString("*") : AnyCase(Parts[i + 1]);
        Filters << QString("%1 (%2)").arg(Parts[i], Pattern.replace(';', ' '));
    }
    return Filters.join(";;");
}

TModalResult QtModalDialogs::MessageDlg(const std::string& Text, TMsgDlgType Type,
                                        TMsgDlgButtons Buttons) {
    QMessageBox Box(IconOf(Type), Caption(Type), QString::fromStdString(Text), {}, FOwner());
    struct TButton {
        TMsgDlgBtn Bit;
        QMessageBox::StandardButton Standard;
        TModalResult Result;
    };
    const TButton All[] = {{mbYes, QMessageBox::Yes, TModalResult::mrYes},
                           {mbNo, QMessageBox::No, TModalResult::mrNo},
                           {mbOK, QMessageBox::Ok, TModalResult::mrOK},
                           {mbCancel, QMessageBox::Cancel, TModalResult::mrCancel},
                           {mbAll, QMessageBox::YesToAll, TModalResult::mrAll},
                           {mbLater, QMessageBox::Ignore, TModalResult::mrCancel}};
    for (const TButton& B : All)
        if (Buttons & B.Bit) {
            QPushButton* Button = Box.addButton(B.Standard);
            if (B.Bit == mbAll)
                Button->setText("&All");
            if (B.Bit == mbLater) {
                Button->setText("&Later");
                Box.setEscapeButton(Button);
            }
        }
    int Pressed = Box.exec();
    for (const TButton& B : All)
        if (Pressed == B.Standard)
            return B.Result;
    return TModalResult::mrCancel;
}

void QtModalDialogs::ShowError(const std::string& Text) {
    QMessageBox::critical(FOwner(), Caption(TMsgDlgType::mtError), QString::fromStdString(Text));
}

std::optional<std::string> QtModalDialogs::OpenDialog(const std::string& InitialDir,
                                                      const std::string& Filter) {
    QString Path = QFileDialog::getOpenFileName(
        FOwner(), "Open", QString::fromStdString(InitialDir), QtFilter(Filter));
    if (Path.isEmpty())
        return std::nullopt;
    return Path.toStdString();
}

std::optional<std::string> QtModalDialogs::SaveDialog(const std::string& InitialDir,
                                                      const std::string& Filter,
                                                      const std::string& FileName) {
    // The command asks before overwriting, not the dialog.
    QString Path = QFileDialog::getSaveFileName(
        FOwner(), "Save As", QString::fromStdString(InitialDir + FileName), QtFilter(Filter),
        nullptr, QFileDialog::DontConfirmOverwrite);
    if (Path.isEmpty())
        return std::nullopt;
    return Path.toStdString();
}

std::optional<TColor> QtModalDialogs::ChooseColor(TColor Start) {
    // Colours are stored with red in the low byte.
    QColorDialog Dialog(QColor(Start & 0xFF, (Start >> 8) & 0xFF, (Start >> 16) & 0xFF), FOwner());
    Dialog.setOption(QColorDialog::ShowAlphaChannel, false);
    if (Dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor Chosen = Dialog.selectedColor();
    return static_cast<TColor>(Chosen.red() | Chosen.green() << 8 | Chosen.blue() << 16);
}

std::optional<size_t> QtModalDialogs::ChooseItem(const std::string& Title,
                                                 const std::string& Prompt,
                                                 const std::vector<std::string>& Items) {
    QStringList Entries;
    for (const std::string& Item : Items)
        Entries << QString::fromStdString(Item);
    bool Ok = false;
    const QString Chosen =
        QInputDialog::getItem(FOwner(), QString::fromStdString(Title),
                              QString::fromStdString(Prompt), Entries, 0, false, &Ok);
    if (!Ok)
        return std::nullopt;
    const qsizetype Index = Entries.indexOf(Chosen);
    return Index < 0 ? std::nullopt : std::optional<size_t>(static_cast<size_t>(Index));
}

TModalResult StderrModalDialogs::MessageDlg(const std::string& Text, TMsgDlgType Type,
                                            TMsgDlgButtons Buttons) {
    std::cerr << Caption(Type).toStdString() << ": " << Text << "\n";
    return Buttons == mbOK ? TModalResult::mrOK : TModalResult::mrCancel;
}

void StderrModalDialogs::ShowError(const std::string& Text) {
    std::cerr << "Error: " << Text << "\n";
}

} // namespace kav
