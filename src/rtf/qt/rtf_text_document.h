#pragma once
// Shows a read RTF document in Qt's text document.
class QTextDocument;

namespace movarek {

struct RtfDocument;

// Replaces the whole contents of `target` with the document.
void fillTextDocument(QTextDocument& target, const RtfDocument& document);

}  // namespace movarek
