// Length-limited Huffman codes for deflate blocks. The symbols with a frequency go
// into a min-heap ordered by frequency, ties to the smaller subtree height; the two
// least frequent nodes are joined until one is left, and each leaf's depth is its code
// length. Leaves deeper than the limit are cut to it and the overflow repaired by
// moving shorter codes one level down, the longest lengths then going to the least
// frequent leaves. Codes are canonical (RFC 1951) and stored bit-reversed, since
// deflate sends Huffman codes from their most significant bit into an LSB-first stream.
#pragma once

#include <cstdint>

namespace zip {

// Fills Lengths (0 for unused symbols) for Count symbols and returns the highest
// symbol with a code. A tree always gets at least two codes, so that every code has a
// sibling: missing ones are given frequency 1 for the build.
int BuildTree(const uint32_t* Freq, int Count, int MaxLength, uint8_t* Lengths);

// Canonical codes for the lengths, bit-reversed.
void AssignCodes(const uint8_t* Lengths, int Count, uint16_t* Codes);

}  // namespace zip
