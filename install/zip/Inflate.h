// Inflate: the decoder of deflated entries (compression method 8). A deflate stream
// is a sequence of blocks, each stored (raw bytes after a length and its complement),
// compressed with the fixed prefix codes or with dynamic codes sent at the block's
// start (code lengths, themselves coded, then literal/length and distance codes).
// Lengths and distances refer back up to 32 KiB into the output.
#pragma once

#include "install/zip/BitInput.h"
#include "install/zip/DecodeTable.h"
#include "install/zip/OutputWindow.h"

namespace zip {

class TInflate {
 public:
  TInflate();

  // Decodes one entry's stream to the end of its last block and flushes the output.
  // drInvalidData for a damaged stream (also for output past the window's limit, a
  // distance before the start, or input consumed past its end), drUnsupported for
  // block type 3 or an over-subscribed code; on a failure nothing more is flushed.
  int InflateEntry(TBitInput& Input, TOutputWindow& Output);

 private:
  int DecodeBlock(bool& Last);
  int CopyStoredBlock();
  int DecodeDynamicBlock();
  int DecodeHuffmanData(const TDecodeTable& Literals, const TDecodeTable& Distances);
  // Decodes one symbol with the careful bit reader.
  TDecodeEntry DecodeSymbol(const TDecodeTable& Table);

  TBitInput* FInput = nullptr;
  TOutputWindow* FOutput = nullptr;
  TDecodeTable FFixedLiterals, FFixedDistances;
  TDecodeTable FLiterals, FDistances, FLengthCodes;
};

}  // namespace zip
