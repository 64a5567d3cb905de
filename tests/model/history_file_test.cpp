#include "model/history_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "model/save_file.h"
#include "support/bytes.h"
#include "support/temp_folder.h"

namespace tav {
namespace {

using tavtest::Buf;

class HistoryFileTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir_.file(name); }
  tavtest::TempFolder dir_;
};

// 4096 bytes: units at 0, paths at 2048, 2304, 2560, 2816, recent at 3072.
Buf handMadeHistory() {
  Buf b(4096, 0);
  tavtest::put32(b, 0, 1);
  for (int i = 4; i < 2048; ++i) b[i] = static_cast<std::uint8_t>(i * 5);  // reserved
  tavtest::putText(b, 2048, "/home/u/projects");
  tavtest::putText(b, 2304, "/home/u/db/SPEAKERS.TSB");
  tavtest::putText(b, 2560, "/home/u/db/ABSORB.TAB");
  // The fourth path is carried as its 256 bytes, what follows its NUL too.
  tavtest::putText(b, 2816, "fourth");
  for (int i = 2816 + 7; i < 3072; ++i) b[i] = static_cast<std::uint8_t>(i);
  tavtest::putText(b, 3072, "/p/a.TPR");
  tavtest::putText(b, 3072 + 256, "/p/b.TPR");
  b[2048 + 200] = 'x';  // garbage after the NUL of a path field
  return b;
}

TEST_F(HistoryFileTest, ReadsTheLayoutAndWritesReservedBytesBack) {
  const Buf b = handMadeHistory();
  dir_.write("HISTORY.TVX", b);
  const History h = loadHistory(path("HISTORY.TVX"));
  EXPECT_TRUE(h.feet);
  EXPECT_EQ(h.projectFolder, "/home/u/projects");
  EXPECT_EQ(h.speakerDatabasePath, "/home/u/db/SPEAKERS.TSB");
  EXPECT_EQ(h.absorberDatabasePath, "/home/u/db/ABSORB.TAB");
  EXPECT_EQ(h.fourthPath, "fourth");
  EXPECT_EQ(h.recent[0], "/p/a.TPR");
  EXPECT_EQ(h.recentCount(), 2u);

  History edited = h;
  enterRecentProject(edited, "/p/b.TPR");
  ASSERT_TRUE(writeHistory(path("again/HISTORY.TVX"), edited));
  Buf expected = b;
  expected[2048 + 200] = 0;  // path fields are written NUL-padded
  std::swap_ranges(expected.begin() + 3072, expected.begin() + 3328, expected.begin() + 3328);
  EXPECT_EQ(readWholeFile(path("again/HISTORY.TVX")).value(), expected);
  // A fourth path without any NUL is carried too.
  Buf full = b;
  std::fill(full.begin() + 2816, full.begin() + 3072, 'p');
  ASSERT_TRUE(writeHistory(path("full/HISTORY.TVX"), readHistory(full)));
  full[2048 + 200] = 0;
  EXPECT_EQ(readWholeFile(path("full/HISTORY.TVX")).value(), full);
}

TEST_F(HistoryFileTest, MissingOrShortFileGivesDefaults) {
  EXPECT_TRUE(loadHistory(path("none.TVX")).projectFolder.empty());
  std::ofstream(path("short.TVX"), std::ios::binary) << "\x01\0\0\0/x";
  EXPECT_FALSE(loadHistory(path("short.TVX")).feet);
}

TEST_F(HistoryFileTest, WritesUnitsAndPathsAndFailsQuietly) {
  History h;
  h.feet = true;
  h.speakerDatabasePath = std::string(255, 's');   // the longest path: 255 bytes and the NUL
  h.absorberDatabasePath = std::string(256, 'a');  // no room for its NUL: not written
  ASSERT_TRUE(writeHistory(path("cfg/taviron/HISTORY.TVX"), h));
  const Buf b = readWholeFile(path("cfg/taviron/HISTORY.TVX")).value();
  ASSERT_EQ(b.size(), 4096u);
  EXPECT_EQ(tavtest::get32(b, 0), 1u);
  EXPECT_EQ(b[2560], 0);
  EXPECT_EQ(loadHistory(path("cfg/taviron/HISTORY.TVX")).speakerDatabasePath,
            h.speakerDatabasePath);

  // A folder that cannot be made (a file is in the way): false, no throw.
  std::ofstream(path("blocker")) << "x";
  EXPECT_FALSE(writeHistory(path("blocker/HISTORY.TVX"), h));
}

// Any 4096 bytes give a history: a field without its NUL holds no path, and
// the recent entries close up over empty ones.
TEST(HistoryBytes, ReadsAnyBytesAsTheFileWouldBe) {
  Buf b = handMadeHistory();
  std::fill_n(b.begin() + 2560, 256, 'a');  // absorber path without its NUL
  std::fill_n(b.begin() + 3072 + 256, 256, 0);
  tavtest::putText(b, 3072 + 3 * 256, "/p/d.TPR");
  b.push_back(0x55);  // bytes past the layout are ignored
  const History h = readHistory(b);
  EXPECT_EQ(h.absorberDatabasePath, "");
  EXPECT_EQ(h.recent[0], "/p/a.TPR");
  EXPECT_EQ(h.recent[1], "/p/d.TPR");
  EXPECT_EQ(h.recentCount(), 2u);
  EXPECT_EQ(readHistory(Buf(b.begin(), b.begin() + 4095)).recentCount(), 0u);
}

TEST(HistoryRecentList, MostRecentFirstWithoutDuplicates) {
  History h;
  enterRecentProject(h, "PROJECT1.TPR");  // never entered
  EXPECT_EQ(h.recentCount(), 0u);
  for (const char* p : {"/a", "/b", "/c", "/d"}) enterRecentProject(h, p);
  EXPECT_EQ(h.recent, (std::array<std::string, 4>{"/d", "/c", "/b", "/a"}));
  enterRecentProject(h, "/e");  // the oldest is lost
  EXPECT_EQ(h.recent, (std::array<std::string, 4>{"/e", "/d", "/c", "/b"}));
  enterRecentProject(h, "/c");  // found at 2: moves to the front
  EXPECT_EQ(h.recent, (std::array<std::string, 4>{"/c", "/e", "/d", "/b"}));
  enterRecentProject(h, "/b");  // found at the end
  EXPECT_EQ(h.recent, (std::array<std::string, 4>{"/b", "/c", "/e", "/d"}));
  enterRecentProject(h, "/B");  // comparison is exact
  EXPECT_EQ(h.recent, (std::array<std::string, 4>{"/B", "/b", "/c", "/e"}));
}

TEST(HistoryPath, ConfigFolderFromTheEnvironment) {
  struct Saved {
    const char* name;
    std::optional<std::string> value;
    ~Saved() { value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name); }
  };
  auto save = [](const char* name) {
    const char* v = std::getenv(name);
    return Saved{name, v ? std::optional<std::string>(v) : std::nullopt};
  };
  const Saved xdg = save("XDG_CONFIG_HOME"), home = save("HOME");
  ::setenv("XDG_CONFIG_HOME", "/cfg/here", 1);
  EXPECT_EQ(defaultHistoryPath(), "/cfg/here/taviron/HISTORY.TVX");
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(defaultHistoryPath(), "/home/someone/.config/taviron/HISTORY.TVX");
  ::setenv("XDG_CONFIG_HOME", "relative/cfg", 1);  // not absolute: ignored
  EXPECT_EQ(defaultHistoryPath(), "/home/someone/.config/taviron/HISTORY.TVX");
}

}  // namespace
}  // namespace tav
