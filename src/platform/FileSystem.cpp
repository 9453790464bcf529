#include "platform/FileSystem.h"

#include <filesystem>
#include <system_error>

namespace kav {

bool IsFile(const std::string& Path) {
    std::error_code Error;
    return std::filesystem::is_regular_file(Path, Error);
}

bool PathExists(const std::string& Path) {
    std::error_code Error;
    return std::filesystem::exists(Path, Error);
}

} // namespace kav
