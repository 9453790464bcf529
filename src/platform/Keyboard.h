#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include <QString>
#include <QStringList>

namespace kav {

// The X keyboard layout (and variant, possibly empty) that corresponds to a Windows locale.
struct XkbLayout {
    QString Layout;
    QString Variant;
};

// The layout that `setxkbmap -query` reports (its "layout:" and "variant:" lines); no value
// when the output has no layout.
std::optional<XkbLayout> ParseSetxkbmapQuery(const QString& Output);

// The hint of Other > Switch Keyboard with Language.
constexpr const char* SwitchKeyboardHint =
    "Switch the desktop's keyboard layout (for every program) to the selected language; the "
    "layout of the start is put back when the editor closes";

// The layout for an abbreviated language name (ENU, FRA ...); an empty layout when none fits.
XkbLayout XkbLayoutForAbbreviation(std::string_view Abbreviation);

// The layout for a locale identifier, through the locale table.
XkbLayout XkbLayoutForLocale(std::uint32_t Lcid);

// Stands in for the Windows keyboard-layout switch. Every request is recorded; the X keyboard
// is switched only when the user turned the option on (KeyboardSwitchingEnabled) and setxkbmap
// is on the path, because a translator's desktop layout is theirs to keep otherwise. The
// layout of the desktop is read before the first switch, and without it nothing is switched,
// since the switch changes the layout of every program and must be undone at the end. A request
// never fails: an unknown locale or a missing tool simply leaves the keyboard as it is.
class KeyboardService {
public:
    // Records Lcid as the requested layout and switches when enabled. Returns whether a switch
    // was started (for diagnostics; callers ignore it like the Windows result).
    bool ActivateKeyboardLayout(std::uint32_t Lcid);

    // Puts back the layout the desktop had before the first switch; nothing when nothing was
    // switched. Returns whether the restore was started. The window calls it when it closes.
    bool RestoreStartLayout();
    // The layout read before the first switch; no value before it.
    const std::optional<XkbLayout>& StartLayout() const { return FStartLayout; }

    // The requests so far, oldest first.
    const std::vector<std::uint32_t>& RequestedLayouts() const { return FRequests; }
    // The last request, 0 when there was none.
    std::uint32_t LastRequestedLayout() const;
    void ClearRequests() { FRequests.clear(); }

    static bool SwitchingEnabled();
    // The setxkbmap arguments for a layout; empty when the layout is empty.
    static QStringList SetxkbmapArguments(const XkbLayout& Layout);

private:
    std::vector<std::uint32_t> FRequests;
    std::optional<XkbLayout> FStartLayout;
    bool FSwitched = false;
};

// The one keyboard of the running program.
KeyboardService& Keyboard();

} // namespace kav
