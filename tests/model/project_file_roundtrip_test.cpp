#include <gtest/gtest.h>

#include "model/le_io.h"
#include "model/project_file.h"
#include "project_bytes_builder.h"

namespace tav {
namespace {

using tavtest::Buf;

// What the writer writes the reader takes back: a file laid out by hand is
// read and written again to the same bytes.
TEST(ProjectFileRoundTrip, CanonicalFileConvertsToTheSameBytes) {
  tavtest::SampleFile file = tavtest::sampleV280(true);
  // A byte behind the NUL of the empty first free line of the print header
  // is carried as stored.
  file.bytes[file.typesAt - 742 + 578 + 40] = 'Z';
  const ProjectLoadResult r = readProject(file.bytes);
  ASSERT_TRUE(r.ok()) << r.error.text;
  const Buf written = writeProjectBytes(r.project);
  ASSERT_EQ(written.size(), file.bytes.size());
  for (std::size_t i = 0; i < written.size(); ++i)
    ASSERT_EQ(written[i], file.bytes[i]) << "offset " << i;

  // A file with stray pointer fields and raw colours converts to the same
  // canonical file.
  tavtest::SampleFile rawFile = tavtest::sampleV280(false);
  rawFile.bytes[rawFile.typesAt - 742 + 578 + 40] = 'Z';
  const ProjectLoadResult raw = readProject(rawFile.bytes);
  ASSERT_TRUE(raw.ok());
  EXPECT_EQ(writeProjectBytes(raw.project), file.bytes);
}

TEST(ProjectFileRoundTrip, EmptyModelKeepsItsPrintHeader) {
  Project p;
  setFixedString(p.printHeader.rows[0].label, "Title");
  setFixedString(p.printHeader.rows[0].value, "Empty room");
  p.printHeader.carried[161] = 0x42;
  const Buf bytes = writeProjectBytes(p);
  // One record: the pseudo-object, last, shape 33, flags 0xE0, 742 bytes.
  const std::size_t rec = 102 + 384;
  tavtest::Bytes head;
  head.zeros(20).u32(33).u32(0xE0).zeros(16).u32(742);  // the last record, 742 data bytes
  EXPECT_TRUE(std::equal(head.b.begin(), head.b.end(), bytes.begin() + rec));
  EXPECT_EQ(bytes.size(), rec + 48 + 742 + 2 + 2 + 256 * p.materials.count());

  const ProjectLoadResult r = readProject(bytes);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r.project.objects.empty());
  EXPECT_TRUE(r.project.printHeader == p.printHeader);
  EXPECT_TRUE(r.project.materials == p.materials);
}

}  // namespace
}  // namespace tav
