#pragma once
// Whole files read and written by the tests, through Qt so that paths may hold any character.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kav {

// The file's bytes; "<missing>" when it cannot be read, so that a comparison shows why.
inline QByteArray ReadFile(const QString& Path) {
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

inline bool WriteFile(const QString& Path, const QByteArray& Bytes) {
    QFile F(Path);
    return F.open(QIODevice::WriteOnly | QIODevice::Truncate) && F.write(Bytes) == Bytes.size();
}

} // namespace kav
