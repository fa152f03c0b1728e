// A frame of an image that records warnings, for reading and writing extension blocks.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GIFTestSupport.h"
#include "gif/Extension.h"
#include "gif/GIFImage.h"

namespace giftest {

inline Bytes Written(gif::TGIFItem& Item) {
  base::TMemoryStream Stream;
  Item.SaveToStream(Stream);
  return Stream.Bytes();
}

// "NETSCAPE2.0" and the like as the bytes of an application block's header.
inline Bytes AppHeader(uint8_t Size, const std::string& Ident) { return Concat({Bytes{'!', 0xFF, Size}, Text(Ident)}); }

class ExtensionFixture : public ::testing::Test {
 protected:
  // Reads Data as the extension run of the frame; returns where the run ended.
  int64_t LoadExtensions(const Bytes& Data) {
    auto Stream = StreamOf(Data);
    Frame->Extensions()->LoadFromStream(Stream, Frame.get());
    return Stream.Position();
  }
  // The message of the GIFException that reading Data raises; empty when none.
  std::string LoadError(const Bytes& Data) {
    try {
      LoadExtensions(Data);
    } catch (const gif::GIFException& E) {
      return E.what();
    }
    return "";
  }
  gif::TGIFExtensionList& List() { return *Frame->Extensions(); }
  template <class Extension>
  Extension* At(int Index) {
    return dynamic_cast<Extension*>(List().Extensions(Index));
  }
  Bytes WrittenList() {
    base::TMemoryStream Stream;
    List().SaveToStream(Stream);
    return Stream.Bytes();
  }

  gif::TGIFImage Image;
  WarningLog Log{Image};
  std::unique_ptr<gif::TGIFSubImage> Frame = std::make_unique<gif::TGIFSubImage>(&Image);
};

}  // namespace giftest
