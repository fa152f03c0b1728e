#include <gtest/gtest.h>

#include <QFile>
#include <fstream>
#include <sstream>

#include "editor/RecentProjects.h"
#include "platform/base/Exceptions.h"
#include "tests/editor/EditorTestSupport.h"

using editor::TRecentProjects;
using editortest::StartFolder;
using Paths = std::vector<std::string>;

namespace {

std::string ReadBytes(const std::string& FileName) {
  std::ifstream File(FileName, std::ios::binary);
  std::ostringstream Text;
  Text << File.rdbuf();
  return Text.str();
}

void WriteBytes(const std::string& FileName, const std::string& Bytes) {
  std::ofstream(FileName, std::ios::binary) << Bytes;
}

TEST(RecentProjects, EightFilesGiveSevenLinesWithTheOldestDropped) {
  StartFolder Start;
  TRecentProjects Recent;
  Paths Added;
  for (int I = 1; I <= 8; ++I) {
    Added.push_back("/home/user/anim" + std::to_string(I) + ".gif");
    EXPECT_TRUE(Recent.Add(Added.back()));
  }
  const std::string FileName = editor::RecentProjectsFileName(Start.Path());
  Recent.SaveToFile(FileName);
  std::string Expected;
  for (size_t I = 1; I < Added.size(); ++I) Expected += Added[I] + "\r\n";
  EXPECT_EQ(ReadBytes(FileName), Expected);

  TRecentProjects Again;
  Again.LoadFromFile(FileName);
  EXPECT_EQ(Again.Items(), Paths(Added.begin() + 1, Added.end()));
}

TEST(RecentProjects, ADuplicateKeepsItsPlace) {
  TRecentProjects Recent;
  Recent.Add("/a.gif");
  Recent.Add("/b.gif");
  Recent.Add("/c.gif");
  EXPECT_FALSE(Recent.Add("/a.gif"));
  EXPECT_EQ(Recent.Items(), (Paths{"/a.gif", "/b.gif", "/c.gif"}));
}

TEST(RecentProjects, LetterCaseMakesTwoEntries) {
  TRecentProjects Recent;
  Recent.Add("/x/Anim.gif");
  EXPECT_TRUE(Recent.Add("/x/anim.gif"));
  EXPECT_EQ(Recent.Items().size(), 2u);
}

TEST(RecentProjects, AnEmptyPathIsNotAProject) {
  TRecentProjects Recent;
  EXPECT_FALSE(Recent.Add(""));
  EXPECT_TRUE(Recent.Items().empty());
}

TEST(RecentProjects, AMissingFileIsAnEmptyList) {
  StartFolder Start;
  TRecentProjects Recent;
  EXPECT_NO_THROW(Recent.LoadFromFile(editor::RecentProjectsFileName(Start.Path())));
  EXPECT_TRUE(Recent.Items().empty());
}

TEST(RecentProjects, AFolderInPlaceOfTheFileIsAnError) {
  StartFolder Start;
  ASSERT_TRUE(QDir(QString::fromStdString(Start.Path())).mkdir("File.dat"));
  TRecentProjects Recent;
  EXPECT_THROW(Recent.LoadFromFile(editor::RecentProjectsFileName(Start.Path())), base::EStreamError);
}

struct LoadCase {
  const char* Name;
  std::string Bytes;
  Paths Expected;
};

class RecentProjectsLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(RecentProjectsLoad, ReadsEachLineInOrder) {
  StartFolder Start;
  const std::string FileName = editor::RecentProjectsFileName(Start.Path());
  WriteBytes(FileName, GetParam().Bytes);
  TRecentProjects Recent;
  Recent.LoadFromFile(FileName);
  EXPECT_EQ(Recent.Items(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Files, RecentProjectsLoad,
                         testing::Values(LoadCase{"CrLf", "/a.gif\r\n/b.gif\r\n", {"/a.gif", "/b.gif"}},
                                         LoadCase{"LfOnly", "/a.gif\n/b.gif", {"/a.gif", "/b.gif"}},
                                         LoadCase{
                                             "EmptyLines", "\r\n/a.gif\r\n\r\n\r\n/b.gif\r\n", {"/a.gif", "/b.gif"}},
                                         LoadCase{"Duplicates", "/a.gif\r\n/b.gif\r\n/a.gif\r\n", {"/a.gif", "/b.gif"}},
                                         LoadCase{"NineLines",
                                                  "/1\n/2\n/3\n/4\n/5\n/6\n/7\n/8\n/9\n",
                                                  {"/3", "/4", "/5", "/6", "/7", "/8", "/9"}},
                                         LoadCase{"Overlong", std::string(5000, 'x') + "\n/a.gif\n", {"/a.gif"}},
                                         LoadCase{"Spaces", "/my files/a b.gif\n", {"/my files/a b.gif"}}),
                         [](const testing::TestParamInfo<LoadCase>& Info) { return std::string(Info.param.Name); });

TEST(RecentProjects, SavingReportsAFailureAndReplacesTheFile) {
  StartFolder Start;
  const std::string FileName = editor::RecentProjectsFileName(Start.Path());
  WriteBytes(FileName, "/old.gif\r\n");
  TRecentProjects Recent;
  Recent.Add("/new.gif");
  EXPECT_ANY_THROW(Recent.SaveToFile(Start.Path() + "/missing-folder/File.dat"));
  EXPECT_EQ(ReadBytes(FileName), "/old.gif\r\n");
  Recent.SaveToFile(FileName);
  EXPECT_EQ(ReadBytes(FileName), "/new.gif\r\n");
}

}  // namespace
