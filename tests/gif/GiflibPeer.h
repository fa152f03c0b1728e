// giflib as a reference decoder for the peer tests, and the corpus of GIF files that
// make_peer_corpus.sh writes with the peer tools.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Crc32.h"

namespace giftest {

// A GIF read completely by DGifSlurp.
class GiflibImage {
 public:
  static GiflibImage FromFile(const std::string& FileName) {
    int Error = 0;
    return GiflibImage(DGifOpenFileName(FileName.c_str(), &Error), Error);
  }
  static GiflibImage FromBytes(const std::vector<uint8_t>& Bytes) {
    // DGifSlurp reads everything in the constructor, so Source may end with this call.
    MemorySource Source{&Bytes, 0};
    int Error = 0;
    return GiflibImage(DGifOpen(&Source, &MemorySource::Read, &Error), Error);
  }

  // Empty when the file was read; else giflib's error text.
  const std::string& Error() const { return FError; }
  const GifFileType& File() const { return *FFile; }
  int Count() const { return FFile->ImageCount; }
  const SavedImage& Frame(int Index) const { return FFile->SavedImages[Index]; }
  // The frame's graphic control values; false when it has none.
  bool Control(int Index, GraphicsControlBlock& Block) const {
    return DGifSavedExtensionToGCB(FFile.get(), Index, &Block) == GIF_OK;
  }

  // The frame's pixel indexes with rows top to bottom (DGifSlurp already puts the
  // rows of an interlaced frame in display order).
  std::vector<uint8_t> DisplayPixels(int Index) const {
    const SavedImage& Image = Frame(Index);
    const size_t Count = static_cast<size_t>(Image.ImageDesc.Width) * static_cast<size_t>(Image.ImageDesc.Height);
    return std::vector<uint8_t>(Image.RasterBits, Image.RasterBits + Count);
  }

  // What tools/gifinfo prints for the file, worked out from giflib's reading. The
  // extension blocks after the last image count as one more frame without pixels,
  // as TGIFImage keeps them.
  std::vector<std::string> InfoLines() const {
    std::vector<std::string> Lines;
    const ColorMapObject* Global = FFile->SColorMap;
    Lines.push_back(Format("screen %d %d background %d aspect %d global %d", FFile->SWidth, FFile->SHeight,
                           FFile->SBackGroundColor, FFile->AspectByte, Global != nullptr ? Global->ColorCount : 0));
    for (int I = 0; I < Count(); ++I) {
      const SavedImage& Image = Frame(I);
      const GifImageDesc& Desc = Image.ImageDesc;
      const std::vector<uint8_t> Pixels = DisplayPixels(I);
      AddFrameLines(Lines, I, Desc.Left, Desc.Top, Desc.Width, Desc.Height, Desc.Interlace ? 1 : 0,
                    Desc.ColorMap != nullptr ? Desc.ColorMap->ColorCount : 0, Image.ExtensionBlocks,
                    Image.ExtensionBlockCount, base::Crc32(Pixels.data(), Pixels.size()));
    }
    if (FFile->ExtensionBlockCount > 0)
      AddFrameLines(Lines, Count(), 0, 0, 0, 0, 0, 0, FFile->ExtensionBlocks, FFile->ExtensionBlockCount, 0);
    return Lines;
  }

 private:
  template <class... Args>
  static std::string Format(const char* Text, Args... Values) {
    char Line[256];
    std::snprintf(Line, sizeof Line, Text, Values...);
    return Line;
  }

  static void AddFrameLines(std::vector<std::string>& Lines, int Index, int Left, int Top, int Width, int Height,
                            int Interlaced, int Local, const ExtensionBlock* Blocks, int BlockCount, uint32_t Crc) {
    int Delay = -1, Disposal = -1, Transparent = -1;
    for (int B = 0; B < BlockCount; ++B) {
      GraphicsControlBlock Control;
      if (Blocks[B].Function == GRAPHICS_EXT_FUNC_CODE &&
          DGifExtensionToGCB(static_cast<size_t>(Blocks[B].ByteCount), Blocks[B].Bytes, &Control) == GIF_OK) {
        Delay = Control.DelayTime;
        Disposal = Control.DisposalMode;
        Transparent = Control.TransparentColor;
        break;
      }
    }
    Lines.push_back(Format("frame %d left %d top %d width %d height %d interlaced %d local %d delay %d disposal %d "
                           "transparent %d pixels %08x",
                           Index, Left, Top, Width, Height, Interlaced, Local, Delay, Disposal, Transparent, Crc));
    // The sub-blocks after a block's first one are CONTINUE_EXT_FUNC_CODE blocks.
    for (int B = 0; B < BlockCount; ++B) {
      int End = B + 1;
      while (End < BlockCount && Blocks[End].Function == CONTINUE_EXT_FUNC_CODE) ++End;
      if (Blocks[B].Function == COMMENT_EXT_FUNC_CODE) {
        // Each sub-block is one line of text, cut at its first zero byte.
        size_t Bytes = 0;
        for (int S = B; S < End; ++S) {
          const auto* Text = Blocks[S].Bytes;
          Bytes += static_cast<size_t>(std::find(Text, Text + Blocks[S].ByteCount, 0) - Text);
        }
        Lines.push_back(Format("comment %d %zu", Index, Bytes));
      } else if (Blocks[B].Function == APPLICATION_EXT_FUNC_CODE && Blocks[B].ByteCount == 11 &&
                 (std::memcmp(Blocks[B].Bytes, "NETSCAPE2.0", 11) == 0 ||
                  std::memcmp(Blocks[B].Bytes, "ANIMEXTS1.0", 11) == 0)) {
        int Loops = 0;
        for (int S = B + 1; S < End; ++S)
          if (Blocks[S].ByteCount >= 3 && (Blocks[S].Bytes[0] & 7) == 1)
            Loops = Blocks[S].Bytes[1] | Blocks[S].Bytes[2] << 8;
        Lines.push_back(Format("loop %d %d", Index, Loops));
      }
      B = End - 1;
    }
  }

  struct MemorySource {
    const std::vector<uint8_t>* Bytes;
    size_t Position;
    static int Read(GifFileType* File, GifByteType* Buffer, int Count) {
      auto* Source = static_cast<MemorySource*>(File->UserData);
      const size_t Moved = std::min(static_cast<size_t>(Count), Source->Bytes->size() - Source->Position);
      std::memcpy(Buffer, Source->Bytes->data() + Source->Position, Moved);
      Source->Position += Moved;
      return static_cast<int>(Moved);
    }
  };
  struct Closer {
    void operator()(GifFileType* File) const {
      int Error = 0;
      DGifCloseFile(File, &Error);
    }
  };

  GiflibImage(GifFileType* File, int OpenError) {
    if (File == nullptr) {
      FError = GifErrorString(OpenError);
      return;
    }
    FFile.reset(File);
    if (DGifSlurp(File) != GIF_OK) FError = GifErrorString(File->Error);
  }

  std::unique_ptr<GifFileType, Closer> FFile;
  std::string FError;
};

// One corpus per test process, in a temporary folder removed at the end.
class PeerCorpus {
 public:
  static const PeerCorpus& Get() {
    static const PeerCorpus Corpus;
    return Corpus;
  }
  ~PeerCorpus() { std::filesystem::remove_all(Folder); }

  // Sorted; the files the installed packages ship are named debian-N-NAME.
  std::vector<std::filesystem::path> Files;
  // Empty when the peer tools made the corpus; else what went wrong.
  std::string Error;

  static bool Shipped(const std::filesystem::path& File) { return File.filename().string().starts_with("debian-"); }

 private:
  PeerCorpus() {
    std::string Template = (std::filesystem::temp_directory_path() / "animora-peer-XXXXXX").string();
    if (mkdtemp(Template.data()) == nullptr) {
      Error = "cannot make a temporary folder";
      return;
    }
    Folder = Template;
    const std::string Command = std::string("'") + PEER_CORPUS_SCRIPT + "' '" + Folder.string() + "'";
    if (std::system(Command.c_str()) != 0) Error = "make_peer_corpus.sh failed (its output names the command)";
    for (const auto& Entry : std::filesystem::directory_iterator(Folder))
      if (Entry.path().extension() == ".gif") Files.push_back(Entry.path());
    std::sort(Files.begin(), Files.end());
  }

  std::filesystem::path Folder;
};

}  // namespace giftest
