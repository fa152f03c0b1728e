// Files written by the library, read back by giflib, gifsicle and ImageMagick.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "EncoderTestSupport.h"
#include "GiflibPeer.h"
#include "gif/GIFImage.h"

using namespace enctest;
using namespace gif;

namespace {

struct TRun {
  int Status = -1;
  std::string Out, Err;
};

std::string ReadText(const std::filesystem::path& File) {
  std::ifstream In(File, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), {});
}

// Runs a shell command; its standard error goes to a file beside ErrFile's name.
TRun RunCommand(const std::string& Command, const std::filesystem::path& ErrFile) {
  TRun Result;
  FILE* Pipe = ::popen((Command + " 2>'" + ErrFile.string() + "'").c_str(), "r");
  if (Pipe == nullptr) return Result;
  char Buffer[4096];
  for (size_t N; (N = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0;) Result.Out.append(Buffer, N);
  const int Status = ::pclose(Pipe);
  Result.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  Result.Err = ReadText(ErrFile);
  return Result;
}

bool HaveTool(const char* Name) {
  return std::system((std::string("command -v ") + Name + " >/dev/null 2>&1").c_str()) == 0;
}

class PeerFolder {
 public:
  PeerFolder() {
    std::string Template = (std::filesystem::temp_directory_path() / "animora-write-XXXXXX").string();
    if (::mkdtemp(Template.data()) != nullptr) Path = Template;
  }
  ~PeerFolder() {
    if (!Path.empty()) std::filesystem::remove_all(Path);
  }
  std::filesystem::path Path;
};

struct TCase {
  int GlobalCount;
  bool Interlaced;
  TCompressionKind Compression;
  std::string Name() const {
    return "colors" + std::to_string(GlobalCount) + (Interlaced ? "-interlaced" : "") +
           (Compression == ckRLE ? "-rle" : "-lzw");
  }
};

std::vector<TCase> AllCases() {
  std::vector<TCase> Cases;
  // Tables of 2 and 3 colours both give code size 2; then 3 to 8.
  for (const int Count : {2, 3, 7, 16, 31, 64, 100, 256})
    for (const bool Interlaced : {false, true})
      for (const TCompressionKind Compression : {ckLZW, ckRLE}) Cases.push_back({Count, Interlaced, Compression});
  return Cases;
}

template <class Extension>
Extension* AddExtension(TGIFSubImage* Frame) {
  auto* Item = new Extension(Frame);
  Frame->Extensions()->Add(std::unique_ptr<TGIFExtension>(Item));
  return Item;
}

// Four frames: two large ones on the global table, one with a local table of the
// same size, one of a single pixel in the corner; a loop, a comment, and graphic
// control extensions with every disposal and a transparent colour.
void MakeImage(TGIFImage& Image, const TCase& Case) {
  const int N = Case.GlobalCount;
  const std::vector<TFrameSpec> Frames = {
      {0, 0, 211, 157, Case.Interlaced, 0, MakePixels(TPattern::Noise, N, 211, 157, 1)},
      {40, 30, 97, 61, Case.Interlaced, 0, MakePixels(TPattern::Runs, N, 97, 61, 2)},
      {5, 7, 50, 40, Case.Interlaced, N, MakePixels(TPattern::LongRuns, N, 50, 40, 3)},
      {210, 156, 1, 1, Case.Interlaced, 0, Bytes{static_cast<uint8_t>(N - 1)}},
  };
  base::TMemoryStream Stream(BuildStream(211, 157, N, Frames));
  Image.LoadFromStream(Stream);
  Image.SetCompression(Case.Compression);
  TGIFSubImage* F[4];
  for (int I = 0; I < 4; ++I) F[I] = Image.Frames().SubImages(I);
  AddExtension<TGIFAppExtNSLoop>(F[0])->SetLoops(3);
  AddExtension<TGIFCommentExtension>(F[0])->Text().Add("written by the test");
  const TFrameDisposal Disposals[] = {fdNoneSpecified, fdBackground, fdPrevious, fdDoNotDispose};
  for (int I = 1; I < 4; ++I) {
    auto* Control = AddExtension<TGIFGraphicControlExtension>(F[I]);
    Control->SetDelay(static_cast<uint16_t>(I * 7));
    Control->SetDisposal(Disposals[I]);
    if (I == 1) {
      Control->SetTransparentColor(static_cast<uint8_t>(N - 1));
      Control->SetTransparent(true);
    }
  }
}

// What a frame holds, as the peers should see it.
struct TExpectedFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Interlaced = false;
  int LocalCount = 0;  // padded, 0 when none
  int Delay = 0, Disposal = 0, Transparent = -1;
  bool Control = false;
  std::vector<uint32_t> Rgb;  // 0xRRGGBB per pixel, or 0xFF000000 for transparent
};

uint32_t Rgb(base::TColor Color) {
  return static_cast<uint32_t>((Color & 0xFF) << 16 | (Color & 0xFF00) | ((Color >> 16) & 0xFF));
}
constexpr uint32_t kClear = 0xFF000000;

std::vector<TExpectedFrame> Expect(TGIFImage& Image) {
  std::vector<TExpectedFrame> Result;
  for (int I = 0; I < Image.Frames().Count(); ++I) {
    TGIFSubImage& F = *Image.Frames().SubImages(I);
    TExpectedFrame E;
    E.Left = F.Left();
    E.Top = F.Top();
    E.Width = F.Width();
    E.Height = F.Height();
    E.Interlaced = F.Interlaced() && F.ColorMap()->Count() == 0;
    E.LocalCount = F.ColorMap()->Count() > 0 ? 1 << F.ColorMap()->BitsPerPixel() : 0;
    if (const TGIFGraphicControlExtension* Control = F.GraphicControlExtension()) {
      E.Control = true;
      E.Delay = Control->Delay();
      E.Disposal = static_cast<int>(Control->Disposal());
      E.Transparent = Control->Transparent() ? Control->TransparentColor() : -1;
    }
    TGIFColorMap& Table = *F.ActiveColorMap();
    for (int P = 0; P < F.PixelBytes(); ++P)
      E.Rgb.push_back(F.Data()[P] == E.Transparent ? kClear : Rgb(Table.Colors(F.Data()[P])));
    Result.push_back(std::move(E));
  }
  return Result;
}

// DGifSlurp leaves every frame's rows top to bottom, interlaced or not.
std::vector<uint8_t> Raster(const giftest::GiflibImage& G, int Index) {
  const SavedImage& Frame = G.Frame(Index);
  return std::vector<uint8_t>(Frame.RasterBits,
                              Frame.RasterBits + static_cast<size_t>(Frame.ImageDesc.Width) * Frame.ImageDesc.Height);
}

std::vector<uint32_t> GiflibRgb(const giftest::GiflibImage& G, int Index, const std::vector<uint8_t>& Pixels,
                                int Transparent) {
  const SavedImage& Frame = G.Frame(Index);
  const ColorMapObject* Map = Frame.ImageDesc.ColorMap != nullptr ? Frame.ImageDesc.ColorMap : G.File().SColorMap;
  std::vector<uint32_t> Result;
  for (const uint8_t P : Pixels) {
    if (P == Transparent || Map == nullptr || P >= Map->ColorCount) {
      Result.push_back(P == Transparent ? kClear : 0xDEADBEEF);
      continue;
    }
    const GifColorType& C = Map->Colors[P];
    Result.push_back(static_cast<uint32_t>(C.Red << 16 | C.Green << 8 | C.Blue));
  }
  return Result;
}

// giflib: the whole structure, the tables, the pixels and the extensions.
void CheckWithGiflib(const std::filesystem::path& File, TGIFImage& Image) {
  SCOPED_TRACE("giflib");
  const giftest::GiflibImage G = giftest::GiflibImage::FromFile(File.string());
  ASSERT_EQ(G.Error(), "");
  EXPECT_EQ(G.File().SWidth, Image.Width());
  EXPECT_EQ(G.File().SHeight, Image.Height());
  TGIFColorMap& Global = *Image.GetGlobalColorMap();
  ASSERT_NE(G.File().SColorMap, nullptr);
  ASSERT_EQ(G.File().SColorMap->ColorCount, 1 << Global.BitsPerPixel());
  for (int I = 0; I < G.File().SColorMap->ColorCount; ++I) {
    const GifColorType& C = G.File().SColorMap->Colors[I];
    EXPECT_EQ(static_cast<uint32_t>(C.Red << 16 | C.Green << 8 | C.Blue), I < Global.Count() ? Rgb(Global.Colors(I)) : 0u);
  }
  const auto Expected = Expect(Image);
  ASSERT_EQ(G.Count(), static_cast<int>(Expected.size()));
  for (int I = 0; I < G.Count(); ++I) {
    SCOPED_TRACE("frame " + std::to_string(I));
    const TExpectedFrame& E = Expected[static_cast<size_t>(I)];
    const GifImageDesc& D = G.Frame(I).ImageDesc;
    EXPECT_EQ(D.Left, E.Left);
    EXPECT_EQ(D.Top, E.Top);
    EXPECT_EQ(D.Width, E.Width);
    EXPECT_EQ(D.Height, E.Height);
    EXPECT_EQ(D.Interlace, E.Interlaced);
    EXPECT_EQ(D.ColorMap != nullptr ? D.ColorMap->ColorCount : 0, E.LocalCount);
    GraphicsControlBlock Block{};
    EXPECT_EQ(G.Control(I, Block), E.Control);
    if (E.Control) {
      EXPECT_EQ(Block.DelayTime, E.Delay);
      EXPECT_EQ(Block.DisposalMode, E.Disposal);
      EXPECT_EQ(Block.TransparentColor, E.Transparent);
    }
    EXPECT_EQ(GiflibRgb(G, I, Raster(G, I), E.Transparent), E.Rgb);
  }
  // Frame 0 carries the loop and the comment.
  std::string Comment, Application;
  int Loops = -1;
  const SavedImage& First = G.Frame(0);
  for (int B = 0; B < First.ExtensionBlockCount; ++B) {
    const ExtensionBlock& Block = First.ExtensionBlocks[B];
    const std::string Bytes(reinterpret_cast<const char*>(Block.Bytes), static_cast<size_t>(Block.ByteCount));
    if (Block.Function == COMMENT_EXT_FUNC_CODE) Comment = Bytes;
    if (Block.Function == APPLICATION_EXT_FUNC_CODE) Application = Bytes;
    if (Block.Function == CONTINUE_EXT_FUNC_CODE && Application == "NETSCAPE2.0" && Block.ByteCount == 3)
      Loops = Block.Bytes[1] | Block.Bytes[2] << 8;
  }
  EXPECT_EQ(Comment, "written by the test");
  EXPECT_EQ(Loops, 3);
}

std::string Field(const std::string& Line, const std::string& Name) {
  const size_t At = Line.find(Name);
  if (At == std::string::npos) return "";
  std::istringstream In(Line.substr(At + Name.size()));
  std::string Value;
  In >> Value;
  return Value;
}

// gifsicle: its --info report, and a full decode (flipping makes it rewrite every
// frame from its pixels) read back through giflib.
void CheckWithGifsicle(const std::filesystem::path& File, const std::filesystem::path& Folder, TGIFImage& Image) {
  SCOPED_TRACE("gifsicle");
  const TRun Info = RunCommand("gifsicle --info '" + File.string() + "'", Folder / "gifsicle.err");
  ASSERT_EQ(Info.Status, 0) << Info.Err;
  EXPECT_EQ(Info.Err, "");
  const auto Expected = Expect(Image);
  std::istringstream Lines(Info.Out);
  std::string Line;
  std::vector<std::string> Images;
  std::string Screen, Global, Loop;
  bool Comment = false;
  while (std::getline(Lines, Line)) {
    if (Line.find("+ image #") != std::string::npos) Images.push_back(Line);
    if (!Images.empty() && Line.find("+ image #") == std::string::npos) Images.back() += " |" + Line;
    if (Line.find("logical screen") != std::string::npos) Screen = Field(Line, "logical screen ");
    if (Line.find("global color table") != std::string::npos) Global = Field(Line, "global color table ");
    if (Line.find("loop count") != std::string::npos) Loop = Field(Line, "loop count ");
    if (Line.find("written by the test") != std::string::npos) Comment = true;
  }
  EXPECT_EQ(Screen, std::to_string(Image.Width()) + "x" + std::to_string(Image.Height()));
  EXPECT_EQ(Global, "[" + std::to_string(1 << Image.GetGlobalColorMap()->BitsPerPixel()) + "]");
  EXPECT_EQ(Loop, "3");
  EXPECT_TRUE(Comment) << Info.Out;
  ASSERT_EQ(Images.size(), Expected.size()) << Info.Out;
  const char* Disposals[] = {"", "asis", "background", "previous"};
  for (size_t I = 0; I < Images.size(); ++I) {
    SCOPED_TRACE(Images[I]);
    const TExpectedFrame& E = Expected[I];
    EXPECT_EQ(Field(Images[I], "#" + std::to_string(I) + " "), std::to_string(E.Width) + "x" + std::to_string(E.Height));
    EXPECT_EQ(Field(Images[I], " at "), E.Left || E.Top ? std::to_string(E.Left) + "," + std::to_string(E.Top) : "");
    EXPECT_EQ(Images[I].find(" interlaced") != std::string::npos, E.Interlaced);
    EXPECT_EQ(Field(Images[I], " transparent "), E.Transparent >= 0 ? std::to_string(E.Transparent) : "");
    EXPECT_EQ(Field(Images[I], "local color table "), E.LocalCount > 0 ? "[" + std::to_string(E.LocalCount) + "]" : "");
    EXPECT_EQ(Field(Images[I], "disposal "), Disposals[E.Disposal]);
    char Delay[16] = "";
    if (E.Delay > 0) std::snprintf(Delay, sizeof Delay, "%d.%02ds", E.Delay / 100, E.Delay % 100);
    EXPECT_EQ(Field(Images[I], "delay "), Delay);
  }

  const std::filesystem::path Flipped = Folder / "flipped.gif";
  const TRun Flip = RunCommand("gifsicle --flip-vertical '" + File.string() + "' -o '" + Flipped.string() + "'",
                        Folder / "gifsicle.err");
  ASSERT_EQ(Flip.Status, 0) << Flip.Err;
  // Complaints about the data name the file; its own output may warn about colour tables.
  EXPECT_EQ(Flip.Err.find(File.filename().string()), std::string::npos) << Flip.Err;
  const giftest::GiflibImage G = giftest::GiflibImage::FromFile(Flipped.string());
  ASSERT_EQ(G.Error(), "");
  ASSERT_EQ(G.Count(), static_cast<int>(Expected.size()));
  for (int I = 0; I < G.Count(); ++I) {
    const TExpectedFrame& E = Expected[static_cast<size_t>(I)];
    GraphicsControlBlock Block{};
    Block.TransparentColor = -1;
    G.Control(I, Block);
    std::vector<uint32_t> Unflipped;
    const std::vector<uint32_t> Rgb = GiflibRgb(G, I, Raster(G, I), Block.TransparentColor);
    for (int Row = E.Height - 1; Row >= 0; --Row)
      Unflipped.insert(Unflipped.end(), Rgb.begin() + Row * E.Width, Rgb.begin() + (Row + 1) * E.Width);
    EXPECT_EQ(Unflipped, E.Rgb) << "frame " << I;
  }
}

// ImageMagick: identify's view of every frame, and the frames' pixels as RGBA.
void CheckWithImageMagick(const std::filesystem::path& File, const std::filesystem::path& Folder, TGIFImage& Image) {
  SCOPED_TRACE("ImageMagick");
  const TRun Identify =
      RunCommand("identify -format '%w %h %X %Y %W %H %T %D\\n' '" + File.string() + "'", Folder / "identify.err");
  ASSERT_EQ(Identify.Status, 0) << Identify.Err;
  EXPECT_EQ(Identify.Err, "");
  const auto Expected = Expect(Image);
  std::string Lines;
  const char* Disposals[] = {"Undefined", "None", "Background", "Previous"};
  for (const TExpectedFrame& E : Expected) {
    char Line[128];
    std::snprintf(Line, sizeof Line, "%d %d +%d +%d %d %d %d %s\n", E.Width, E.Height, E.Left, E.Top, Image.Width(),
                  Image.Height(), E.Delay, Disposals[E.Disposal]);
    Lines += Line;
  }
  EXPECT_EQ(Identify.Out, Lines);

  const TRun Pixels = RunCommand("convert '" + File.string() + "' -depth 8 rgba:-", Folder / "convert.err");
  ASSERT_EQ(Pixels.Status, 0) << Pixels.Err;
  EXPECT_EQ(Pixels.Err, "");
  size_t At = 0;
  for (size_t I = 0; I < Expected.size(); ++I) {
    const TExpectedFrame& E = Expected[I];
    ASSERT_LE(At + E.Rgb.size() * 4, Pixels.Out.size());
    std::vector<uint32_t> Got;
    for (size_t P = 0; P < E.Rgb.size(); ++P, At += 4) {
      const auto* Q = reinterpret_cast<const uint8_t*>(Pixels.Out.data() + At);
      Got.push_back(Q[3] == 0 ? kClear : static_cast<uint32_t>(Q[0] << 16 | Q[1] << 8 | Q[2]));
    }
    EXPECT_EQ(Got, E.Rgb) << "frame " << I;
  }
  EXPECT_EQ(At, Pixels.Out.size());
}

}  // namespace

class PeerWrite : public ::testing::TestWithParam<TCase> {};

TEST_P(PeerWrite, GiflibGifsicleAndImageMagickReadWhatWeWrite) {
  for (const char* Tool : {"gifsicle", "identify", "convert"})
    if (!HaveTool(Tool)) GTEST_SKIP() << Tool << " is not installed";
  PeerFolder Folder;
  ASSERT_FALSE(Folder.Path.empty());
  TGIFImage Image;
  MakeImage(Image, GetParam());
  const std::filesystem::path File = Folder.Path / (GetParam().Name() + ".gif");
  Image.SaveToFile(File.string());
  CheckWithGiflib(File, Image);
  CheckWithGifsicle(File, Folder.Path, Image);
  CheckWithImageMagick(File, Folder.Path, Image);
}

INSTANTIATE_TEST_SUITE_P(CodeSizesOrdersAndEncoders, PeerWrite, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<TCase>& Info) {
                           std::string Name = Info.param.Name();
                           for (char& C : Name)
                             if (C == '-') C = '_';
                           return Name;
                         });

// gifinfo --rewrite, on files the peers made: giflib reads the same frames from the
// copy as from the original.
TEST(GifinfoRewrite, CopiesOfPeerFilesReadLikeTheOriginals) {
  for (const char* Tool : {"convert", "gifsicle"})
    if (!HaveTool(Tool)) GTEST_SKIP() << Tool << " is not installed";
  PeerFolder Folder;
  ASSERT_FALSE(Folder.Path.empty());
  const std::string In = (Folder.Path / "in.gif").string(), Out = (Folder.Path / "out.gif").string();
  const std::string Makers[] = {
      "convert rose: -colors 64 -interlace GIF '" + In + "'",
      "convert -delay 9 rose: \\( rose: -flop -colors 7 \\) \\( logo: -resize 60x40! -colors 200 \\) -loop 2 '" + In +
          "'",
      "convert -size 40x30 xc:none -fill red -draw 'circle 20 15 20 5' '" + In + "'",
      "convert rose: -colors 16 '" + In + "1.gif' && convert rose: -flip -colors 32 '" + In +
          "2.gif' && gifsicle -O3 --comment 'peer made' --loopcount=forever '" + In + "1.gif' '" + In + "2.gif' > '" +
          In + "'",
  };
  for (const std::string& Maker : Makers) {
    SCOPED_TRACE(Maker);
    ASSERT_EQ(RunCommand(Maker, Folder.Path / "maker.err").Status, 0);
    const TRun Rewrite = RunCommand("'" GIFINFO_PATH "' --rewrite '" + Out + "' '" + In + "'", Folder.Path / "gifinfo.err");
    ASSERT_EQ(Rewrite.Status, 0) << Rewrite.Err;
    const giftest::GiflibImage A = giftest::GiflibImage::FromFile(In), B = giftest::GiflibImage::FromFile(Out);
    ASSERT_EQ(A.Error(), "");
    ASSERT_EQ(B.Error(), "");
    EXPECT_EQ(B.File().SWidth, A.File().SWidth);
    EXPECT_EQ(B.File().SHeight, A.File().SHeight);
    ASSERT_EQ(B.Count(), A.Count());
    for (int I = 0; I < A.Count(); ++I) {
      SCOPED_TRACE("frame " + std::to_string(I));
      GraphicsControlBlock CA{}, CB{};
      CA.TransparentColor = CB.TransparentColor = -1;
      EXPECT_EQ(B.Control(I, CB), A.Control(I, CA));
      EXPECT_EQ(CB.DelayTime, CA.DelayTime);
      EXPECT_EQ(CB.DisposalMode, CA.DisposalMode);
      EXPECT_EQ(CB.TransparentColor, CA.TransparentColor);
      const GifImageDesc &DA = A.Frame(I).ImageDesc, &DB = B.Frame(I).ImageDesc;
      EXPECT_EQ(std::make_tuple(DB.Left, DB.Top, DB.Width, DB.Height), std::make_tuple(DA.Left, DA.Top, DA.Width, DA.Height));
      EXPECT_EQ(GiflibRgb(B, I, Raster(B, I), CB.TransparentColor),
                GiflibRgb(A, I, Raster(A, I), CA.TransparentColor));
    }
  }
  const TRun Usage = RunCommand("'" GIFINFO_PATH "' --rewrite '" + Out + "'", Folder.Path / "gifinfo.err");
  EXPECT_EQ(Usage.Status, 2);
  EXPECT_NE(Usage.Err.find("--rewrite OUT FILE"), std::string::npos) << Usage.Err;
}
