// A project with index entries naming nodes its objects do not have opens:
// the damaged entries are left out, the user is told how many, and the file
// stays as it was until the project is saved.
#include <gtest/gtest.h>

#include <fstream>

#include "model/project_bytes_builder.h"
#include "model/save_file.h"
#include "shell_test_util.h"

namespace tav::test {
namespace {

TEST(OpenDamagedProject, StrayEntriesAreLeftOutWithAMessage) {
  ShellSession s;
  tavtest::SampleFile file = tavtest::sampleV280(true);
  // The room face (4 nodes): its third and fifth entries name nodes 4 and 9.
  const std::size_t entries = file.objectsAt + 48 + 4 * 12;
  tavtest::put16(file.bytes, entries + 2 * 4 + 2, 4);
  tavtest::put16(file.bytes, entries + 4 * 4 + 2, 9);
  const std::string path = s.dir.file("DAMAGED.TPR");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.bytes.data()),
             static_cast<std::streamsize>(file.bytes.size()));
  s.platform.answerOpenFile(path);
  s.platform.pushMenu(101);
  s.run();
  ASSERT_EQ(s.platform.messages().size(), 1u);
  EXPECT_EQ(s.platform.messages()[0].text,
            "2 damaged index entries were left out: they named nodes their objects do not have. "
            "The file on disk stays as it is until the project is saved.");
  EXPECT_EQ(s.project().objects.countObjects(), file.objects.size());
  EXPECT_EQ(s.project().objects.objectAt(0)->indices.size(), 3u);
  EXPECT_TRUE(s.project().modified);  // leaving it asks first
  EXPECT_EQ(readWholeFile(path).value(), file.bytes);
}

}  // namespace
}  // namespace tav::test
