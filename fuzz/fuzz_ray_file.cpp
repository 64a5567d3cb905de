// Ray files (.TRF): any bytes are refused as not a ray file or read into
// whole path objects (every count checked); what was read stores and reads
// back to the same paths.
#include <cstdint>
#include <span>

#include "fuzz/fuzz_support.h"
#include "reflections/ray_file.h"
#include "reflections/reflection_paths.h"

namespace {

using namespace tav;

std::vector<std::uint8_t> seedFile() {
  std::vector<std::unique_ptr<ModelObject>> owned;
  std::vector<const ModelObject*> paths;
  for (int n = 0; n < 3; ++n) {
    PathRecord r;
    r.entries.resize(static_cast<std::size_t>(n) + 2);
    for (std::size_t i = 0; i < r.entries.size(); ++i)
      r.entries[i] = {static_cast<std::int16_t>(i), {float(i), 1.5f, 2}};
    r.entries.front().id = PATH_ID_SOURCE;
    r.entries.back().id = PATH_ID_TARGET;
    owned.push_back(makeReflectionPath(r));
    paths.push_back(owned.back().get());
  }
  return encodeRayFile(paths, "seed", 3.25);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked(
      [](const std::filesystem::path& dir) { fuzz::writeFile(dir / "seed.TRF", seedFile()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const RayFileContent c = decodeRayFile(std::span<const std::uint8_t>(data, size));
  if (!c.valid) {
    fuzz::check(c.paths.empty(), "a refused file gives no path");
    return 0;
  }
  std::vector<const ModelObject*> paths;
  for (const auto& p : c.paths) {
    fuzz::check(isReflectionPath(*p), "only whole paths are read");
    for (const IndexEntry& e : p->indices) fuzz::check(e.ref < p->nodes.size(), "entries in range");
    paths.push_back(p.get());
  }
  const auto bytes = encodeRayFile(paths, c.description, c.meanFreePath);
  const RayFileContent back = decodeRayFile(bytes);
  fuzz::check(back.valid && !back.truncated && back.skipped == 0, "a stored file reads back whole");
  fuzz::check(back.paths.size() == c.paths.size(), "every path comes back");
  for (std::size_t i = 0; i < back.paths.size(); ++i)
    fuzz::check(
        back.paths[i]->data == c.paths[i]->data && back.paths[i]->nodes == c.paths[i]->nodes,
        "paths come back unchanged");
  return 0;
}
