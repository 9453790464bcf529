#pragma once
// The display setting the product's widths are checked at. The widths of the default file are
// pixels at 96 dpi (100 %), as the product's windows are laid out; on a system set to 120 dpi
// (125 %) or 144 dpi (150 %) the product's fonts are built for that setting while its windows
// scale by dpi/96, so a text is measured at the larger font and held against the scaled width.
// The setting is the project's: Product.ini in the program folder, section [Display], line
// "Dpi=120", so the window and kavtool check at the same one.

#include <string>
#include <vector>

namespace kav {

constexpr int BaseDpi = 96;

// The settings Windows offers: 100 %, 125 %, 150 %, 175 % and 200 %.
const std::vector<int>& ProductDpis();
bool IsProductDpi(int Dpi);
// "96 dpi (100 %)".
std::string ProductDpiName(int Dpi);

// Product.ini in the program folder (with its trailing "/").
std::string ProductSettingsFile(const std::string& ProgramDir);
// The folder's setting, 96 when the file or its line is not there. A line that cannot be read
// goes to Errors, when given, as "FILE:LINE: what is wrong", and the setting stays 96.
int ProductDpi(const std::string& ProgramDir, std::vector<std::string>* Errors = nullptr);
// Writes the setting into the file, keeping its other lines; false with Error when it cannot.
bool SetProductDpi(const std::string& ProgramDir, int Dpi, std::string& Error);

// A width or a length in pixels at 96 dpi as it is at Dpi (rounded as Windows' MulDiv).
int ScaledToDpi(int Pixels, int Dpi);

} // namespace kav
