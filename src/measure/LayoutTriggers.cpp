#include "measure/LayoutTriggers.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace kav {

namespace {

// Features a shaper applies only when asked (kerning is turned off for every measured text):
// their lookups never act on a measured line. Every other tag, known or not, counts as applied.
constexpr std::array<const char*, 44> OffByDefault{
    "kern", "dlig", "hlig", "subs", "sups", "sinf", "ordn", "smcp", "c2sc", "pcap", "c2pc",
    "unic", "titl", "case", "cpsp", "swsh", "cswh", "salt", "aalt", "nalt", "ornm", "onum",
    "lnum", "pnum", "tnum", "zero", "hist", "afrc", "vert", "vrt2", "vkna", "vhal", "halt",
    "palt", "vpal", "fwid", "hwid", "pwid", "qwid", "twid", "ruby", "trad", "smpl", "size"};

bool Applied(const char* Tag) {
    if ((Tag[0] == 's' && Tag[1] == 's') || (Tag[0] == 'c' && Tag[1] == 'v'))
        return false; // stylistic sets and character variants
    return std::none_of(OffByDefault.begin(), OffByDefault.end(),
                        [&](const char* Off) { return std::memcmp(Off, Tag, 4) == 0; });
}

// Reads a table; any offset past its end fails the whole reading.
class TTableReader {
public:
    explicit TTableReader(const QByteArray& Table) : FTable(Table) {}
    bool Ok() const { return FOk; }
    std::uint16_t U16(std::size_t At) {
        if (At + 2 > static_cast<std::size_t>(FTable.size())) {
            FOk = false;
            return 0;
        }
        const auto* P = reinterpret_cast<const unsigned char*>(FTable.constData()) + At;
        return static_cast<std::uint16_t>(P[0] << 8 | P[1]);
    }
    std::uint32_t U32(std::size_t At) { return std::uint32_t(U16(At)) << 16 | U16(At + 2); }
    const char* Tag(std::size_t At) {
        if (At + 4 > static_cast<std::size_t>(FTable.size())) {
            FOk = false;
            return "    ";
        }
        return FTable.constData() + At;
    }

private:
    const QByteArray& FTable;
    bool FOk = true;
};

void AddCoverage(TTableReader& R, std::size_t At, TGlyphSet& Glyphs) {
    const auto Mark = [&](std::uint32_t Glyph) {
        if (Glyph < Glyphs.size())
            Glyphs[Glyph] = true;
    };
    const std::uint16_t Format = R.U16(At);
    const std::uint16_t Count = R.U16(At + 2);
    for (std::uint16_t I = 0; I < Count && R.Ok(); ++I) {
        if (Format == 1) {
            Mark(R.U16(At + 4 + 2 * I));
        } else if (Format == 2) {
            const std::size_t Range = At + 4 + 6 * std::size_t(I);
            const std::uint16_t Last = R.U16(Range + 2);
            for (std::uint32_t G = R.U16(Range); G <= Last && R.Ok(); ++G)
                Mark(G);
        } else {
            R.U16(std::size_t(-4)); // unknown format: fails the reading
        }
    }
}

// The offset of the first coverage a subtable starts at, or 0 where the glyph to act on is
// covered by its format's first coverage anyway (every format but the third of the context
// lookups keeps it at offset 2).
std::size_t FirstCoverage(TTableReader& R, std::size_t Subtable, bool Context, bool Chained) {
    const std::uint16_t Format = R.U16(Subtable);
    if (!Context || Format != 3)
        return Subtable + R.U16(Subtable + 2);
    if (!Chained) // glyph count, lookup count, then the input coverages
        return Subtable + R.U16(Subtable + 6);
    const std::uint16_t Backtrack = R.U16(Subtable + 2);
    const std::size_t Input = Subtable + 4 + 2 * std::size_t(Backtrack);
    if (R.U16(Input) == 0)
        return 0;
    return Subtable + R.U16(Input + 2);
}

// GSUB: 5 and 6 are the context lookups, 7 the extension. GPOS: 7 and 8, and 9.
void AddLookup(TTableReader& R, std::size_t Lookup, bool Gpos, TGlyphSet& Glyphs) {
    const int ContextType = Gpos ? 7 : 5;
    const int ExtensionType = Gpos ? 9 : 7;
    const std::uint16_t Type = R.U16(Lookup);
    const std::uint16_t Count = R.U16(Lookup + 4);
    for (std::uint16_t I = 0; I < Count && R.Ok(); ++I) {
        std::size_t Subtable = Lookup + R.U16(Lookup + 6 + 2 * I);
        int SubtableType = Type;
        if (Type == ExtensionType) {
            SubtableType = R.U16(Subtable + 2);
            Subtable += R.U32(Subtable + 4);
        }
        const bool Context = SubtableType == ContextType || SubtableType == ContextType + 1;
        const std::size_t Coverage =
            FirstCoverage(R, Subtable, Context, SubtableType == ContextType + 1);
        if (Coverage != 0)
            AddCoverage(R, Coverage, Glyphs);
    }
}

bool AddTable(const QByteArray& Table, bool Gpos, TGlyphSet& Glyphs) {
    if (Table.isEmpty())
        return true;
    TTableReader R(Table);
    const std::size_t Features = R.U16(6);
    const std::size_t Lookups = R.U16(8);
    const std::uint16_t FeatureCount = R.U16(Features);
    const std::uint16_t LookupCount = R.U16(Lookups);
    std::vector<bool> Done(LookupCount, false);
    for (std::uint16_t F = 0; F < FeatureCount && R.Ok(); ++F) {
        const std::size_t Record = Features + 2 + 6 * std::size_t(F);
        if (!Applied(R.Tag(Record)))
            continue;
        const std::size_t Feature = Features + R.U16(Record + 4);
        const std::uint16_t Indices = R.U16(Feature + 2);
        for (std::uint16_t I = 0; I < Indices && R.Ok(); ++I) {
            const std::uint16_t Index = R.U16(Feature + 4 + 2 * I);
            if (Index >= LookupCount || Done[Index])
                continue;
            Done[Index] = true;
            AddLookup(R, Lookups + R.U16(Lookups + 2 + 2 * Index), Gpos, Glyphs);
        }
    }
    return R.Ok();
}

} // namespace

std::optional<TGlyphSet> LayoutTriggerGlyphs(const QByteArray& Gsub, const QByteArray& Gpos,
                                             int GlyphCount) {
    TGlyphSet Glyphs(static_cast<std::size_t>(std::max(GlyphCount, 0)), false);
    if (!AddTable(Gsub, false, Glyphs) || !AddTable(Gpos, true, Glyphs))
        return std::nullopt;
    return Glyphs;
}

} // namespace kav
