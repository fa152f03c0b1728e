// Entry names as the zip format stores them: UTF-8 when flag bit 11 is set, else the
// DOS code page 437. Names in memory are UTF-8 with "/" between folders.
#pragma once

#include <cstdint>
#include <string>

namespace zip {

constexpr uint16_t UTF8NameFlag = 0x0800;

// Bytes 0 to 127 stay as they are; the upper half maps as the DOS code page does.
std::string Cp437ToUtf8(const std::string& Bytes);
// The in-memory form of a stored name under the entry's flags.
std::string DecodeEntryName(const std::string& Raw, uint16_t Flags);
bool IsAscii(const std::string& Text);
// A NUL or another byte below 0x20: a name the file system would read differently
// from the one the path checks see.
bool HoldsControlByte(const std::string& Name);
// The name with each byte below 0x20 shown as \xNN, for messages.
std::string PrintableName(const std::string& Name);

}  // namespace zip
