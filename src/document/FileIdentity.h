#pragma once
// What a file was when the document last read or wrote it, so that a change by another
// program (or another window) is noticed before a save writes over it.

#include <cstdint>
#include <string>

namespace kav {

struct TFileIdentity {
    bool Exists = false;
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0; // modification time, nanoseconds since 1970 (UTC)
    std::string Hash;            // of the bytes, hexadecimal; empty when unreadable
};

enum class TFileChange { Unchanged, Changed, Deleted };

// The identity of the file at Path (a link: of the file it names); Exists false when there is
// no file there.
TFileIdentity IdentifyFile(const std::string& Path);

// How the file at Path stands against Known, taken at load or save. Size and time unchanged
// mean unchanged without reading the file; otherwise the bytes decide, so that a file
// rewritten with the same bytes (touched, saved unchanged by another program) is no change. A
// file that did not exist when Known was taken and exists now has changed.
TFileChange CompareFile(const TFileIdentity& Known, const std::string& Path);

} // namespace kav
