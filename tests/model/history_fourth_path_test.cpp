// The history file's fourth path is carried as its 256 bytes: what follows
// its NUL comes back unchanged, whatever else the program writes.
#include <gtest/gtest.h>

#include "model/history_file.h"
#include "model/save_file.h"
#include "project_bytes_builder.h"
#include "support/temp_folder.h"

namespace tav {
namespace {

TEST(HistoryFourthPath, BytesAfterItsNulAreCarried) {
  tavtest::Buf file(4096, 0);
  tavtest::putText(file, 2816, "C:\\OLD");
  for (std::size_t i = 2816 + 7; i < 2816 + 256; ++i) file[i] = static_cast<std::uint8_t>(i);
  const History read = readHistory(file);
  EXPECT_EQ(read.fourthPath, "C:\\OLD");

  History h = read;
  h.projectFolder = "/data/halls";
  enterRecentProject(h, "/data/halls/one.TPR");
  tavtest::TempFolder dir;
  ASSERT_TRUE(writeHistory(dir.file("HISTORY.TVX"), h));
  const tavtest::Buf written = readWholeFile(dir.file("HISTORY.TVX")).value();
  ASSERT_EQ(written.size(), 4096u);
  EXPECT_TRUE(std::equal(file.begin() + 2816, file.begin() + 3072, written.begin() + 2816));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(written.data()) + 3072),
            "/data/halls/one.TPR");

  // A field without any NUL is carried too.
  std::fill(file.begin() + 2816, file.begin() + 3072, 'p');
  ASSERT_TRUE(writeHistory(dir.file("HISTORY.TVX"), readHistory(file)));
  const tavtest::Buf again = readWholeFile(dir.file("HISTORY.TVX")).value();
  EXPECT_TRUE(std::equal(file.begin() + 2816, file.begin() + 3072, again.begin() + 2816));
}

}  // namespace
}  // namespace tav
