#pragma once
// Byte strings between the tool's std::string and Qt Test's QByteArray, for comparisons that
// print readably when they fail.

#include <QByteArray>

#include <string>
#include <string_view>

namespace kav {

inline QByteArray B(std::string_view S) {
    return QByteArray(S.data(), static_cast<qsizetype>(S.size()));
}

inline std::string S(const QByteArray& B) {
    return std::string(B.constData(), static_cast<size_t>(B.size()));
}

} // namespace kav
