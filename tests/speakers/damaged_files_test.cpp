// Damaged databases and shape files: whatever the bytes, the readers list
// and copy only what passes their checks, and never read out of bounds
// (run under the sanitizers by make asan-test).
#include <gtest/gtest.h>

#include <random>

#include "model/project.h"
#include "speaker_test_files.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_shape.h"

namespace tav {
namespace {

using test::append;

TEST(DamagedFiles, RandomDamageToALayout3DatabaseIsContained) {
  test::SpeakerTempDir dir;
  const std::vector<std::uint8_t> shape =
      test::shapeData({{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 0}, {1, 1}, {2, 2}}}});
  std::vector<std::uint8_t> rec = test::plainRecord("ONE");
  test::putU32(rec, 196, shape.size());
  std::vector<std::uint8_t> good = test::databaseHeader("TAVIRON SPEAKER DATABASE V140", 2);
  append(good, test::scrambled(rec));
  append(good, shape);
  append(good, test::scrambled(test::plainRecord("TWO")));

  std::mt19937 rng(7);
  for (int round = 0; round < 150; ++round) {
    std::vector<std::uint8_t> bytes = good;
    const int kind = round % 3;
    if (kind == 0) {
      bytes.resize(std::uniform_int_distribution<std::size_t>(0, good.size())(rng));
    } else {
      const int flips = 1 + round % 5;
      for (int k = 0; k < flips; ++k)
        bytes[std::uniform_int_distribution<std::size_t>(30, good.size() - 1)(rng)] ^=
            static_cast<std::uint8_t>(1 + rng() % 255);
    }
    const std::string path = dir.write("d.TSB", bytes);
    SpeakerDatabaseIndex index;
    const DatabaseLoadResult r = loadSpeakerDatabase(index, path);
    if (!r.loaded) continue;
    ASSERT_LE(index.count(), 2u);
    Project project;
    for (std::size_t i = 0; i < index.count(); ++i) {
      ASSERT_GT(index.entries[i].recordOffset, 0);
      if (copyTypeIntoProject(project, index, project.speakerTypes.size(), index.entries[i].name)) {
        const SpeakerType& t = *project.speakerTypes.back();
        if (t.shape) {
          // Every entry of a shape refers to one of its nodes.
          for (const IndexEntry& e : t.shape->indices)
            if (e.code != IDX_MATERIAL) {
              ASSERT_LT(e.ref, t.shape->nodeCount());
            }
        }
      }
    }
  }
}

TEST(DamagedFiles, RandomBytesAsShapeFilesAndShapeData) {
  std::mt19937 rng(11);
  const char* magics[] = {"BRESKA 1.0     ", "BRESKA V1.27", "TAVIRON V2.80  "};
  for (int round = 0; round < 600; ++round) {
    std::vector<std::uint8_t> bytes(std::uniform_int_distribution<std::size_t>(0, 1200)(rng));
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng() % (round % 2 ? 256 : 4));
    if (bytes.size() >= 32) {
      std::fill(bytes.begin(), bytes.begin() + 32, 0);
      test::putText(bytes, 0, magics[round % 3]);
    }
    ShapeFileResult r = parseShapeFile(bytes);
    if (r.shape) {
      ASSERT_GE(r.shape->nodeCount(), 2u);
      for (const IndexEntry& e : r.shape->indices)
        if (e.code != IDX_MATERIAL) {
          ASSERT_LT(e.ref, r.shape->nodeCount() - 2);
        }
    } else {
      EXPECT_FALSE(r.message.empty());
    }
    if (auto data = readShapeData(bytes)) {
      for (const IndexEntry& e : data->indices) {
        if (e.code != IDX_MATERIAL) {
          ASSERT_LT(e.ref, data->nodeCount() - 2);
        }
      }
    }
  }
}

}  // namespace
}  // namespace tav
