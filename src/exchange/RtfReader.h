#pragma once
// Our reader of Rich Text Format documents: it turns a document into its paragraphs as lines
// of plain text, tabs kept, the way a rich edit control shows them (without wrapping). It reads
// groups and destinations, skips the tables, pictures, objects, headers, footers and field
// instructions, decodes "\'hh" and raw bytes in the code page of the current font's character
// set (or of "\ansicpg"), "\uN" with its "\ucN" replacement, and leaves hidden text out.
// Work and memory are bounded on any input: a damaged document gives an error, never a crash.

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kav {

struct TRtfLimits {
    int MaxDepth = 512;             // nested groups
    std::size_t MaxLines = 2000000; // paragraphs
};

struct TRtfText {
    std::vector<QString> Lines; // a final empty paragraph is not counted
    std::string Error;          // empty when the document was read to its end
    bool Ok() const { return Error.empty(); }
};

// Reads Bytes. A text that does not start with "{\rtf" is taken as plain text in
// PlainCodePage, one line per line of the text. With a KeepCodePage, a "\uN" character that
// page cannot hold is read as the document's own replacement after it (LibreOffice writes a
// six-per-em space as "\u8198\'20"), unless that replacement is a mere "?". The six-per-em
// space that LibreOffice puts before each blank of a run of blanks ("\u8198\'20 ") is read as
// nothing: the blank after it is the run's blank.
TRtfText ReadRtf(std::string_view Bytes, int PlainCodePage, const TRtfLimits& Limits = {},
                 int KeepCodePage = 0);

} // namespace kav
