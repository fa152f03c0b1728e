// TPicture's registry of graphic classes: loading by extension, the open-dialog
// filter, unregistering, clipboard formats, and copies of graphics.
#include <algorithm>
#include <filesystem>
#include <map>

#include "platform/base/Exceptions.h"
#include "platform/graphics/Picture.h"
#include "tests/graphics/BitmapTestSupport.h"

using namespace bitmaptest;
using namespace graphics;

namespace {

// A graphic that holds the bytes it was loaded from.
class TNoteGraphic : public TGraphic {
 public:
  ANIMORA_CLASS(TNoteGraphic)
  void Assign(const base::TPersistent* Source) override {
    if (const auto* Note = dynamic_cast<const TNoteGraphic*>(Source)) return void(Text = Note->Text);
    TGraphic::Assign(Source);
  }
  bool Empty() const override { return Text.empty(); }
  int Width() const override { return static_cast<int>(Text.size()); }
  int Height() const override { return 1; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  void LoadFromStream(base::TStream& Stream) override {
    Text.resize(static_cast<size_t>(Stream.Size() - Stream.Position()));
    Stream.ReadBuffer(Text.data(), static_cast<int64_t>(Text.size()));
    if (Text == "bad") throw base::EInvalidGraphic("bad note");
  }
  void SaveToStream(base::TStream& Stream) override { Stream.WriteBuffer(Text.data(), static_cast<int64_t>(Text.size())); }
  void LoadFromClipboardFormat(TClipboardFormat, const TClipboardData& Data, gdi::HPALETTE) override {
    Text.assign(Data.Bytes.begin(), Data.Bytes.end());
  }
  std::string Text;
};

// Registers the note class for the length of a test.
struct TNoteFormats {
  TNoteFormats() {
    TPicture::RegisterFileFormat("Note", "Notes", GraphicClassOf<TNoteGraphic>());
    TPicture::RegisterFileFormat("memo", "Memos", GraphicClassOf<TNoteGraphic>());
  }
  ~TNoteFormats() { TPicture::UnregisterGraphicClass(GraphicClassOf<TNoteGraphic>()); }
};

struct TTempFile {
  explicit TTempFile(const std::string& Name, const std::string& Content)
      : Path(std::filesystem::temp_directory_path() / ("animora-picture-" + Name)) {
    base::TMemoryStream S(std::vector<uint8_t>(Content.begin(), Content.end()));
    S.SaveToFile(Path.string());
  }
  ~TTempFile() { std::filesystem::remove(Path); }
  std::filesystem::path Path;
};

// Empties the registry for a test and puts back what it held.
class PictureRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    Saved = TPicture::FileFormats();
    for (const TFileFormat& F : Saved) TPicture::UnregisterGraphicClass(F.GraphicClass);
  }
  void TearDown() override {
    for (const TFileFormat& F : TPicture::FileFormats()) TPicture::UnregisterGraphicClass(F.GraphicClass);
    for (auto F = Saved.rbegin(); F != Saved.rend(); ++F)
      TPicture::RegisterFileFormat(F->Extension, F->Description, F->GraphicClass);
    TPicture::RegisterClipboardFormat(CF_BITMAP, GraphicClassOf<TBitmap>());
  }
  std::vector<TFileFormat> Saved;
};

TEST(PictureStart, BitmapsAreKnownFromTheStart) {
  const std::vector<TFileFormat> Formats = TPicture::FileFormats();
  const auto Bmp = std::find_if(Formats.begin(), Formats.end(), [](const TFileFormat& F) { return F.Extension == "bmp"; });
  ASSERT_NE(Bmp, Formats.end());
  EXPECT_EQ(Bmp->Description, "Bitmaps");
  EXPECT_NE(GraphicFilter().find("Bitmaps (*.bmp)|*.bmp"), std::string::npos);
  EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_BITMAP));
  TBitmap B;
  MakeGrid(B, 2, 3, {0x0000FF});
  const TTempFile File("start.BMP", "");
  B.SaveToFile(File.Path.string());
  TPicture P;
  P.LoadFromFile(File.Path.string());
  ASSERT_NE(dynamic_cast<TBitmap*>(P.Graphic()), nullptr) << "extensions match in any case";
  EXPECT_EQ(P.Width(), 2);
  EXPECT_EQ(P.Height(), 3);
}

TEST_F(PictureRegistry, TheFilterListsTheNewestFirstAfterAnAllEntry) {
  EXPECT_EQ(GraphicFilter(), "");
  TPicture::RegisterFileFormat("bmp", "Bitmaps", GraphicClassOf<TBitmap>());
  EXPECT_EQ(GraphicFilter(), "Bitmaps (*.bmp)|*.bmp") << "one format needs no All entry";
  const TNoteFormats Formats;
  EXPECT_EQ(GraphicFilter(),
            "All (*.memo;*.note;*.bmp)|*.memo;*.note;*.bmp|Memos (*.memo)|*.memo|Notes (*.note)|*.note|"
            "Bitmaps (*.bmp)|*.bmp");
  TPicture::RegisterFileFormat("note", "Short notes", GraphicClassOf<TNoteGraphic>());
  EXPECT_EQ(TPicture::FileFormats().front().Description, "Short notes") << "a second registration replaces";
  EXPECT_EQ(TPicture::FileFormats().size(), 3u);
}

TEST_F(PictureRegistry, UnregisteringDropsEveryFormatOfTheClass) {
  TPicture::RegisterFileFormat("bmp", "Bitmaps", GraphicClassOf<TBitmap>());
  {
    const TNoteFormats Formats;
    TPicture::RegisterClipboardFormat(RegisterClipboardFormat("Note"), GraphicClassOf<TNoteGraphic>());
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(RegisterClipboardFormat("Note")));
  }
  EXPECT_FALSE(TPicture::SupportsClipboardFormat(RegisterClipboardFormat("Note")));
  EXPECT_EQ(GraphicFilter(), "Bitmaps (*.bmp)|*.bmp");
}

TEST(PictureLoad, UnknownExtensionsAreRefusedWithTheirName) {
  const TTempFile File("x.qqq", "abc");
  TPicture P;
  try {
    P.LoadFromFile(File.Path.string());
    FAIL() << "no error";
  } catch (const base::EInvalidGraphic& E) {
    EXPECT_STREQ(E.what(), "Unknown picture file extension (.qqq)");
  }
}

TEST(PictureLoad, AFailedLoadKeepsTheGraphicHeldBefore) {
  const TNoteFormats Formats;
  const TTempFile Good("good.note", "hello");
  const TTempFile Bad("bad.memo", "bad");
  TPicture P;
  int Changes = 0;
  P.OnChange = [&](base::TObject*) { ++Changes; };
  P.LoadFromFile(Good.Path.string());
  EXPECT_THROW(P.LoadFromFile(Bad.Path.string()), base::EInvalidGraphic);
  auto* Note = dynamic_cast<TNoteGraphic*>(P.Graphic());
  ASSERT_NE(Note, nullptr);
  EXPECT_EQ(Note->Text, "hello");
  EXPECT_EQ(Changes, 1);
}

TEST(PictureClipboard, FormatNamesGetOneNumberEach) {
  const TClipboardFormat Note = RegisterClipboardFormat("Note format");
  EXPECT_GE(Note, 0xC000);
  EXPECT_EQ(RegisterClipboardFormat("Note format"), Note);
  EXPECT_NE(RegisterClipboardFormat("Other format"), Note);
  EXPECT_EQ(GetClipboardFormatName(Note), "Note format");
  EXPECT_EQ(GetClipboardFormatName(CF_BITMAP), "");
  EXPECT_EQ(RegisterClipboardFormat(""), 0);
}

TEST(PictureClipboard, LoadsThroughTheRegisteredClassOrRefuses) {
  const TNoteFormats Formats;
  const TClipboardFormat Note = RegisterClipboardFormat("Note");
  TPicture::RegisterClipboardFormat(Note, GraphicClassOf<TNoteGraphic>());
  TPicture P;
  TClipboardData Data;
  Data.Bytes = {'h', 'i'};
  P.LoadFromClipboardFormat(Note, Data, nullptr);
  EXPECT_EQ(P.Width(), 2);
  try {
    P.LoadFromClipboardFormat(RegisterClipboardFormat("Nothing"), Data, nullptr);
    FAIL() << "no error";
  } catch (const base::EInvalidGraphic& E) {
    EXPECT_STREQ(E.what(), "Unsupported clipboard format");
  }
  EXPECT_EQ(P.Width(), 2);
}

TEST(PictureClipboard, BitmapsTravelAsCopiesWithTheirPalette) {
  TBitmap B;
  MakeGrid(B, 3, 2, ExactColors(false));
  B.SetPixelFormat(pf8bit);
  TClipboardFormat Format = 0;
  TClipboardData Data;
  gdi::HPALETTE Palette = nullptr;
  B.SaveToClipboardFormat(Format, Data, Palette);
  EXPECT_EQ(Format, CF_BITMAP);
  ASSERT_NE(Data.Bitmap, nullptr);
  EXPECT_NE(Data.Bitmap, B.Handle());
  EXPECT_NE(Palette, B.Palette());
  TPicture P;
  P.LoadFromClipboardFormat(Format, Data, Palette);
  EXPECT_EQ(GridDifference(P.Bitmap(), ExactColors(false)), "");
  EXPECT_TRUE(gdi::DeleteObject(Data.Bitmap)) << "the data stays the caller's";
  EXPECT_TRUE(gdi::DeleteObject(Palette));
  TClipboardData Nothing;
  EXPECT_THROW(P.LoadFromClipboardFormat(CF_BITMAP, Nothing, nullptr), base::EInvalidGraphic);
}

TEST(PictureClipboard, WithoutAServiceTheClipboardRefusesAndHoldsNothing) {
  EXPECT_FALSE(SetClipboardData(RegisterClipboardFormat("Note"), TClipboardData{nullptr, {1, 2}}));
  EXPECT_FALSE(GetClipboardData(RegisterClipboardFormat("Note")).has_value());
  struct TMemoryClipboard : TClipboardService {
    bool SetData(TClipboardFormat Format, TClipboardData Data) override {
      Held[Format] = std::move(Data);
      return true;
    }
    std::optional<TClipboardData> GetData(TClipboardFormat Format) override {
      const auto Found = Held.find(Format);
      if (Found == Held.end()) return std::nullopt;
      return Found->second;
    }
    std::map<TClipboardFormat, TClipboardData> Held;
  } Memory;
  SetClipboardService(&Memory);
  EXPECT_TRUE(SetClipboardData(7, TClipboardData{nullptr, {1, 2}}));
  EXPECT_EQ(GetClipboardData(7)->Bytes, (std::vector<uint8_t>{1, 2}));
  SetClipboardService(nullptr);
}

TEST(PictureGraphic, HoldsCopiesAndForcesBitmapsWhenAsked) {
  TBitmap B;
  MakeGrid(B, 3, 1, {0x00FF00});
  TPicture P;
  P.SetGraphic(&B);
  ASSERT_NE(P.Graphic(), &B);
  B.SetWidth(1);
  EXPECT_EQ(P.Width(), 3);
  TPicture Q;
  Q.Assign(&P);
  EXPECT_EQ(Q.Bitmap().Canvas().Pixels(2, 0), 0x00FF00);
  const TNoteFormats Formats;
  TNoteGraphic Note;
  Note.Text = "abc";
  Q.Assign(&Note);
  EXPECT_EQ(Q.Width(), 3);
  EXPECT_TRUE(Q.Bitmap().Empty()) << "another class gives way to an empty bitmap";
  Q.Assign(nullptr);
  EXPECT_EQ(Q.Graphic(), nullptr);
}

TEST(PictureGraphic, SavesTheHeldGraphicsOwnFormat) {
  const TNoteFormats Formats;
  TNoteGraphic Note;
  Note.Text = "kept";
  TPicture P;
  P.SetGraphic(&Note);
  const TTempFile Out("out.bmp", "");
  P.SaveToFile(Out.Path.string());
  base::TMemoryStream S;
  S.LoadFromFile(Out.Path.string());
  EXPECT_EQ(std::string(S.Bytes().begin(), S.Bytes().end()), "kept");
}

}  // namespace
