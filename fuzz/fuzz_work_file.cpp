// The reflection search's work file: any bytes turn into path objects up to
// the first damaged record, never more than the bytes can hold; every object
// is a whole path.
#include <cstdint>
#include <span>

#include "fuzz/fuzz_support.h"
#include "model/object_list.h"
#include "reflections/path_record.h"
#include "reflections/ray_work_file.h"
#include "reflections/reflection_paths.h"

namespace {

using namespace tav;

std::vector<std::uint8_t> seedRecords() {
  std::vector<std::uint8_t> out;
  for (int n = 0; n < 4; ++n) {
    std::vector<PathEntry> e(static_cast<std::size_t>(n) + 2);
    e.front().id = PATH_ID_SOURCE;
    e.back().id = PATH_ID_TARGET;
    for (std::size_t i = 1; i + 1 < e.size(); ++i) e[i] = {static_cast<std::int16_t>(i), {1, 2, 3}};
    appendPathRecord(out, {4, 5, 6}, e);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked(
      [](const std::filesystem::path& dir) { fuzz::writeFile(dir / "seed.TMP", seedRecords()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ObjectList list;
  const WorkFileRead r = readWorkRecords(std::span<const std::uint8_t>(data, size), list);
  fuzz::check(r.paths * pathRecordSize(0) <= size, "no more paths than the bytes hold");
  std::size_t n = 0;
  for (const ModelObject& o : list) {
    fuzz::check(isReflectionPath(o), "every object is a whole path");
    ++n;
  }
  fuzz::check(n == r.paths, "the count matches the objects");
  return 0;
}
