// Texts of the extension editor: the hex dump of an application extension's data
// sub-blocks, comment bytes as text, and the names of the disposals.
#pragma once

#include <QString>
#include <string>
#include <vector>

namespace gif {
class TGIFUnknownAppExtension;
}

namespace editor {

// Indexed by a graphic control extension's disposal value 0 to 3.
inline constexpr const char* DisposalNames[] = {"None specified", "Do not dispose", "Background", "Previuos"};

// Per sub-block: a header line, 65 hyphens, rows of 16 bytes as hexadecimal pairs and
// characters (others as "."), a short last row padded to the same columns, an empty line.
std::vector<std::string> HexDump(const gif::TGIFUnknownAppExtension& Extension);

// Comment bytes as UTF-8 when they are valid UTF-8, else as Latin-1.
QString CommentText(const std::string& Bytes);

}  // namespace editor
