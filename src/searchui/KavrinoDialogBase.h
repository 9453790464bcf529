#pragma once
// What the find and replace dialog components share: the font, the search text, the options,
// the window position, the events and the life of the window that Execute shows. Each component
// class keeps one window at a time; the subclasses say where it lives and connect their extra
// controls.

#include "grid/CellProperties.h"
#include "search/FindOptions.h"
#include "search/SearchPorts.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <string>

namespace kav {

class TfrmFindDlg;

class TKavrinoDialogBase : public QObject, public ISearchDialog {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject* Sender)>;

    ~TKavrinoDialogBase() override;

    // The font given to the window and its search fields; its character set decides the code
    // page of the texts.
    const TMyFont& Font() const { return FFont; }
    void SetFont(const TMyFont& Value);
    void SetFontCharset(std::uint8_t Charset) override;
    void SetTextCodePage(int Value) override { FCodePage = Value; }

    std::string FindText() const override { return FFindText; }
    void SetFindText(const std::string& Value) override;
    TFindOptions Options() const override { return FOptions; }
    void SetOptions(TFindOptions Value) { FOptions = Value; }

    // The window's screen position while it exists, otherwise the stored position.
    int Left() const override;
    int Top() const override;
    QPoint Position() const { return FPosition; }
    // Moves an existing window at once, without resizing, raising or activating it.
    void SetPosition(const QPoint& Value);
    void SetPosition(int X, int Y) override { SetPosition(QPoint(X, Y)); }

    // From Execute until the window is closed, cancelled or hidden.
    bool IsOpen() const override { return FOpen; }
    bool Execute() override;
    void FindNextClick() override;

    TNotifyEvent OnShow;
    TNotifyEvent OnFind;
    TNotifyEvent OnClose;
    // Receives the message when a field refuses a character; a warning box when unset.
    std::function<void(const QString&)> OnRefused;

    // The window that exists now, or null.
    virtual TfrmFindDlg* Window() const = 0;

protected:
    explicit TKavrinoDialogBase(QObject* Owner);

    virtual TfrmFindDlg* CreateWindow(QWidget* Owner) = 0;
    virtual void ForgetWindow() = 0;
    // Puts the texts into a window about to be shown, and connects its controls.
    virtual void FillWindow(TfrmFindDlg& Window);
    virtual void ConnectWindow(TfrmFindDlg& Window);
    virtual void WindowShown(TfrmFindDlg& Window);
    int CodePage() const;
    // The message of a field that refused a character.
    void Refuse(TfrmFindDlg& Window, const QString& Message);
    void Raise(const TNotifyEvent& Event);

private:
    void DisconnectWindow(TfrmFindDlg& Window);
    void SetOption(TFindOptions Option, bool On);
    void Cancel();

    TMyFont FFont;
    int FCodePage = 0; // 0: the page of the font's character set
    std::string FFindText;
    QPoint FPosition{-1, -1};
    TFindOptions FOptions = frDown;
    bool FOpen = false;
};

} // namespace kav
