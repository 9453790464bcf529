#pragma once

#include <cstdint>
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

// The layout for an abbreviated language name (ENU, FRA ...); an empty layout when none fits.
XkbLayout XkbLayoutForAbbreviation(std::string_view Abbreviation);

// The layout for a locale identifier, through the locale table.
XkbLayout XkbLayoutForLocale(std::uint32_t Lcid);

// Stands in for the Windows keyboard-layout switch. Every request is recorded; the X keyboard
// is switched only when the user turned the option on (KeyboardSwitchingEnabled) and setxkbmap
// is on the path, because a translator's desktop layout is theirs to keep otherwise. A request
// never fails: an unknown locale or a missing tool simply leaves the keyboard as it is.
class KeyboardService {
public:
    // Records Lcid as the requested layout and switches when enabled. Returns whether a switch
    // was started (for diagnostics; callers ignore it like the Windows result).
    bool ActivateKeyboardLayout(std::uint32_t Lcid);

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
};

// The one keyboard of the running program.
KeyboardService& Keyboard();

} // namespace kav
