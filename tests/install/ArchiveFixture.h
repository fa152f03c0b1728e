// Archives for the installer's tests, made at test time.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace installtest {

// Entry name ("Help/index.htm") and contents.
using TArchiveFiles = std::vector<std::pair<std::string, std::string>>;

// What an installed editor folder holds, with stand-in contents; one file is large
// enough to be unpacked in several chunks.
TArchiveFiles EditorFiles();

enum class TArchiveMaker { OurWriter, InfoZip };

// Writes Files as a zip archive named Archive (its folder is made), with folder
// entries, by our writer (ziptool create) or by Info-ZIP zip.
void MakeArchive(const std::string& Archive, const TArchiveFiles& Files,
                 TArchiveMaker Maker = TArchiveMaker::OurWriter);

// Inverts bytes in the middle of the stored data of the entry Name.
void CorruptEntryData(const std::string& Archive, const std::string& Name);

}  // namespace installtest
