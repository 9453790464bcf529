#pragma once
// TMX 1.4, the translation memory CAT tools import: the English and translation of every
// translated item of one or more language files, each pair with the item's constant name and
// file as properties, so that the tools propose the product's own wording again.

#include "document/DocumentState.h"
#include "document/Items.h"

#include <QByteArray>
#include <QXmlStreamWriter>

#include <string>

namespace kav {

class TTmxWriter {
public:
    TTmxWriter();
    TTmxWriter(const TTmxWriter&) = delete;
    TTmxWriter& operator=(const TTmxWriter&) = delete;

    // The translated items of a document (those kept in English or empty give no pair).
    // Returns the pairs added; throws ToolError, before adding any, when the document's
    // language has no tag or a text holds what XML cannot.
    int AddDocument(const TDocumentState& State, const TItemTable& Items);
    int Units() const { return FUnits; }
    // The whole memory; the writer takes no more documents after it.
    QByteArray Finish();

private:
    QByteArray FBytes;
    QXmlStreamWriter W{&FBytes};
    int FUnits = 0;
};

} // namespace kav
