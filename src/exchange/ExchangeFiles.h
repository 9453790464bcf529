#pragma once
// The files the exchanges read and write: read whole but bounded (an exchange file larger
// than any one document's translation is refused before it is read), written atomically, and
// named after the document they come from.

#include "document/DocumentState.h"

#include <QByteArray>

#include <string>

namespace kav {

// Reads a whole exchange file; throws ToolError naming the file, also for a file beyond the
// bound.
QByteArray ReadExchangeFile(const std::string& Path);
// Writes Bytes to Path atomically; throws ToolError naming the file.
void WriteExchangeFile(const std::string& Path, const QByteArray& Bytes);
// The document's file name with Extension for its own: "Kavr_FRA.str", ".po" -> "Kavr_FRA.po".
std::string ExchangeNameOf(const TDocumentState& State, const char* Extension);

} // namespace kav
