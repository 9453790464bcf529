#include "grid/Colors.h"

#include <array>
#include <utility>

namespace kav {

namespace {

using TColorName = std::pair<TColor, std::string_view>;

constexpr std::array<TColorName, 43> ColorNames{{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
}};

// Identifiers in form text compare without regard to letter case.
bool SameIdent(std::string_view A, std::string_view B) {
    if (A.size() != B.size()) {
        return false;
    }
    for (size_t I = 0; I < A.size(); ++I) {
        auto Lower = [](char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C; };
        if (Lower(A[I]) != Lower(B[I])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string ColorToIdent(TColor Color) {
    for (const auto& [Value, Name] : ColorNames) {
        if (Value == Color) {
            return std::string(Name);
        }
    }
    return {};
}

std::optional<TColor> IdentToColor(std::string_view Ident) {
    for (const auto& [Value, Name] : ColorNames) {
        if (SameIdent(Name, Ident)) {
            return Value;
        }
    }
    return std::nullopt;
}

} // namespace kav
