#include "searchui/KavrinoDialogBase.h"

#include "gridview/FontBuild.h"
#include "searchui/KavrinoFindForm.h"
#include "text/CodePage.h"

#include <QMessageBox>
#include <QWidget>

namespace kav {

TKavrinoDialogBase::TKavrinoDialogBase(QObject* Owner) : QObject(Owner) {}

TKavrinoDialogBase::~TKavrinoDialogBase() = default;

void TKavrinoDialogBase::SetFont(const TMyFont& Value) {
    FFont = Value;
}

void TKavrinoDialogBase::SetFontCharset(std::uint8_t Charset) {
    FFont.SetCharset(Charset);
}

int TKavrinoDialogBase::CodePage() const {
    return FCodePage > 0 ? FCodePage : CodePageForCharset(FFont.Charset());
}

void TKavrinoDialogBase::SetFindText(const std::string& Value) {
    if (Value != FFindText)
        FFindText = Value;
}

int TKavrinoDialogBase::Left() const {
    TfrmFindDlg* W = Window();
    return W ? W->frameGeometry().left() : FPosition.x();
}

int TKavrinoDialogBase::Top() const {
    TfrmFindDlg* W = Window();
    return W ? W->frameGeometry().top() : FPosition.y();
}

void TKavrinoDialogBase::SetPosition(const QPoint& Value) {
    if (Value == FPosition)
        return;
    FPosition = Value;
    if (TfrmFindDlg* W = Window())
        W->move(Value);
}

bool TKavrinoDialogBase::Execute() {
    TfrmFindDlg* W = Window();
    if (!W)
        W = CreateWindow(qobject_cast<QWidget*>(parent()));
    DisconnectWindow(*W);
    W->Component = this;
    W->setFont(BuildFont(FFont));
    FillWindow(*W);
    ConnectWindow(*W);
    W->show();
    FOpen = true;
    W->raise();
    W->activateWindow();
    return true;
}

void TKavrinoDialogBase::FindNextClick() {
    Raise(OnFind);
}

void TKavrinoDialogBase::Raise(const TNotifyEvent& Event) {
    if (Event)
        Event(this);
}

void TKavrinoDialogBase::FillWindow(TfrmFindDlg& W) {
    W.EdtSearch->SetBytes(FFindText);
    // A window made anew shows the options of the last search with this component.
    W.ckxMatchCase->setChecked(FOptions & frMatchCase);
    W.ckxMatchWholeWord->setChecked(FOptions & frWholeWord);
}

void TKavrinoDialogBase::DisconnectWindow(TfrmFindDlg& W) {
    // The window may have been shown before, by this component or another of its class.
    QObject* Previous = W.Component;
    if (!Previous)
        return;
    for (QObject* Control : W.children())
        QObject::disconnect(Control, nullptr, Previous, nullptr);
    QObject::disconnect(&W, nullptr, Previous, nullptr);
}

void TKavrinoDialogBase::ConnectWindow(TfrmFindDlg& W) {
    connect(W.btnFindNext, &QPushButton::clicked, this, [this] { FindNextClick(); });
    connect(W.btnCancel, &QPushButton::clicked, this, [this] { Cancel(); });
    W.EdtSearch->OnBytesEdited = [this](const std::string& Bytes) { SetFindText(Bytes); };
    W.EdtSearch->OnRefused = [this, &W](const QString& Message) { Refuse(W, Message); };
    connect(W.ckxMatchCase, &QCheckBox::clicked, this,
            [this](bool On) { SetOption(frMatchCase, On); });
    connect(W.ckxMatchWholeWord, &QCheckBox::clicked, this,
            [this](bool On) { SetOption(frWholeWord, On); });
    connect(&W, &TfrmFindDlg::Shown, this, [this, &W] { WindowShown(W); });
    connect(&W, &TfrmFindDlg::Hidden, this, [this] { FOpen = false; });
}

void TKavrinoDialogBase::WindowShown(TfrmFindDlg& W) {
    Raise(OnShow);
    W.EdtSearch->setFont(BuildFont(FFont));
    W.EdtSearch->SetCodePage(CodePage());
    SetOption(frMatchCase, W.ckxMatchCase->isChecked());
    SetOption(frWholeWord, W.ckxMatchWholeWord->isChecked());
    W.EdtSearch->update();
    W.EdtSearch->setFocus();
}

void TKavrinoDialogBase::Refuse(TfrmFindDlg& W, const QString& Message) {
    if (OnRefused)
        OnRefused(Message);
    else
        QMessageBox::warning(&W, W.windowTitle(), Message);
}

void TKavrinoDialogBase::SetOption(TFindOptions Option, bool On) {
    FOptions = static_cast<TFindOptions>(On ? FOptions | Option : FOptions & ~Option);
}

void TKavrinoDialogBase::Cancel() {
    Raise(OnClose);
    if (TfrmFindDlg* W = Window()) {
        ForgetWindow();
        W->close();
        W->deleteLater();
    }
}

} // namespace kav
