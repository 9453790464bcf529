#pragma once
// An error that ends a command and reaches the user in the general error box. The first line
// is the system's text; further lines say where (file and line).

#include <stdexcept>
#include <string>

namespace kav {

class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Message + "\n" + "in PATH, line N" (or "in PATH" when Line is 0).
inline std::string LocatedMessage(const std::string& Message, const std::string& Path,
                                  long long Line) {
    std::string Where = "in " + Path;
    if (Line > 0)
        Where += ", line " + std::to_string(Line);
    return Message + "\n" + Where;
}

} // namespace kav
