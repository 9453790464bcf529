#include "exchange/ExchangeFiles.h"

#include "document/Document.h"
#include "document/IoStatus.h"
#include "document/ToolError.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>

namespace kav {

namespace {

// Exchange files are read whole; a file larger than this is no translation of one document.
constexpr qint64 MaxExchangeBytes = 64LL * 1024 * 1024;

} // namespace

QByteArray ReadExchangeFile(const std::string& Path) {
    FILE* File = std::fopen(Path.c_str(), "rb");
    if (!File)
        throw ToolError(IoStatusMessage(IoStatusFromErrno(errno), Path));
    QByteArray Bytes;
    char Buffer[65536];
    size_t Count;
    while ((Count = std::fread(Buffer, 1, sizeof Buffer, File)) > 0) {
        Bytes.append(Buffer, static_cast<qsizetype>(Count));
        if (Bytes.size() > MaxExchangeBytes) {
            std::fclose(File);
            throw ToolError("The file is too large to import: " + Path);
        }
    }
    const bool Failed = std::ferror(File) != 0;
    std::fclose(File);
    if (Failed)
        throw ToolError(IoStatusMessage(ioError, Path));
    return Bytes;
}

void WriteExchangeFile(const std::string& Path, const QByteArray& Bytes) {
    QSaveFile File(QString::fromStdString(Path));
    if (!File.open(QIODevice::WriteOnly) || File.write(Bytes) != Bytes.size() || !File.commit())
        throw ToolError("Cannot write " + Path + ": " + File.errorString().toStdString());
}

std::string ExchangeNameOf(const TDocumentState& State, const char* Extension) {
    return QFileInfo(QString::fromStdString(FileNamePart(State.FFileName)))
               .completeBaseName()
               .toStdString() +
           Extension;
}

} // namespace kav
