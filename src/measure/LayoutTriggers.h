#pragma once
// The glyphs at which a face's OpenType layout can change a text that is laid out with the
// features a left-to-right line gets by default (kerning off): the first glyphs the lookups of
// those features cover, in its GSUB and GPOS tables. A text of none of these glyphs, in a script
// shaped without features of its own, keeps each character's glyph and advance, so its width is
// the sum of the advances: the measuring takes that path and lays out only the other texts.

#include <QByteArray>

#include <optional>
#include <vector>

namespace kav {

// Indexed by glyph: true where a default lookup may act. nullopt when a table cannot be read
// to the end: then every text is laid out.
using TGlyphSet = std::vector<bool>;
std::optional<TGlyphSet> LayoutTriggerGlyphs(const QByteArray& Gsub, const QByteArray& Gpos,
                                             int GlyphCount);

} // namespace kav
