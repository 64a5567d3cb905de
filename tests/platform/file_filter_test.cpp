#include "platform/file_filter.h"

#include <gtest/gtest.h>

#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_text.h"

namespace tav {
namespace {

TEST(FileFilter, ParsesDescriptionPatternPairs) {
  const auto entries = parseFileFilter("Taviron Projects (*.TPR)|*.TPR|EASE 3.x|*.xfc;*.XFC|");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].description, "Taviron Projects (*.TPR)");
  EXPECT_EQ(entries[0].patterns, std::vector<std::string>{"*.TPR"});
  EXPECT_EQ(entries[1].patterns, (std::vector<std::string>{"*.xfc", "*.XFC"}));

  // No trailing bar, a lonely description, empty pattern lists.
  EXPECT_EQ(parseFileFilter("All|*.*").size(), 1u);
  EXPECT_EQ(parseFileFilter("All|*.*|Orphan|").size(), 1u);
  EXPECT_EQ(parseFileFilter("Empty||All|*.*|").size(), 1u);
  EXPECT_TRUE(parseFileFilter("").empty());
}

TEST(FileFilter, PatternsMatchWithoutRegardToCase) {
  EXPECT_TRUE(matchesFilePattern("HALL.TPR", "*.TPR"));
  EXPECT_TRUE(matchesFilePattern("hall.tpr", "*.TPR"));
  EXPECT_FALSE(matchesFilePattern("hall.tpr.bak", "*.TPR"));
  EXPECT_FALSE(matchesFilePattern("hall.tp", "*.TPR"));
  EXPECT_TRUE(matchesFilePattern("RF123.TMP", "RF*.TMP"));
  EXPECT_TRUE(matchesFilePattern("a.b", "?.?"));
  EXPECT_TRUE(matchesFilePattern("README", "*.*"));
}

TEST(FileFilter, DefaultExtensionOnlyWhenMissing) {
  EXPECT_EQ(withDefaultExtension("/tmp/hall", "TPR"), "/tmp/hall.TPR");
  EXPECT_EQ(withDefaultExtension("/tmp/hall.tpr", "TPR"), "/tmp/hall.tpr");
  EXPECT_EQ(withDefaultExtension("/tmp/v1.2/hall", "TPR"), "/tmp/v1.2/hall.TPR");
  EXPECT_EQ(withDefaultExtension("/tmp/", "TPR"), "/tmp/");
}

TEST(FileFilter, QtFilterListsBothCases) {
  EXPECT_EQ(toUtf8(toQtFileFilter("Projects|*.TPR|All files|*.*|")),
            "Projects (*.TPR *.tpr);;All files (*)");
  EXPECT_EQ(toUtf8(toQtFileFilter("Ease|*.xfc;*.Xfc|")), "Ease (*.xfc *.XFC *.Xfc)");
}

}  // namespace
}  // namespace tav
