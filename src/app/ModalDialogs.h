#pragma once
// The modal boxes and file dialogs of the main window, replaceable so that tests can answer
// them the way the user would.

#include "document/UserInterface.h"
#include "grid/Colors.h"

#include <QString>

#include <optional>
#include <string>

class QWidget;

namespace kav {

class IModalDialogs {
public:
    virtual ~IModalDialogs() = default;
    virtual TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type,
                                    TMsgDlgButtons Buttons) = 0;
    virtual void ShowError(const std::string& Text) = 0;
    virtual std::optional<std::string> OpenDialog(const std::string& InitialDir,
                                                  const std::string& Filter) = 0;
    virtual std::optional<std::string> SaveDialog(const std::string& InitialDir,
                                                  const std::string& Filter,
                                                  const std::string& FileName) = 0;
    // The colour dialog opened on Start, solid colours only: the colour the user confirmed,
    // nullopt when cancelled. Throws when the dialog cannot be shown.
    virtual std::optional<TColor> ChooseColor(TColor Start) = 0;
};

// The real ones: message boxes with the system's captions, Qt's file dialogs.
class QtModalDialogs : public IModalDialogs {
public:
    explicit QtModalDialogs(QWidget* Owner) : FOwner(Owner) {}
    TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type,
                            TMsgDlgButtons Buttons) override;
    void ShowError(const std::string& Text) override;
    std::optional<std::string> OpenDialog(const std::string& InitialDir,
                                          const std::string& Filter) override;
    std::optional<std::string> SaveDialog(const std::string& InitialDir, const std::string& Filter,
                                          const std::string& FileName) override;
    std::optional<TColor> ChooseColor(TColor Start) override;

private:
    QWidget* FOwner;
};

// "Language Resource Files (*.STR)|*.STR|All Files(*.*)|*.*" as a Qt filter; patterns match
// either letter case, as on the system the filters were written for.
QString QtFilter(const std::string& Filter);

} // namespace kav
