// Merging another project's room and AUX objects ("Insert File", "Import
// Room Geometry"): any file adds consistent objects or nothing, and the
// model saves and reads back afterwards.
#include <cstdint>
#include <span>

#include "fuzz/fuzz_support.h"
#include "model/project_file.h"

namespace {

using namespace tav;

std::vector<std::uint8_t> seedProject() {
  Project p;
  auto face = ObjectList::allocObject(0, 3, 4);
  face->shape = SHAPE_FACE;
  face->nodes = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  face->indices = {{IDX_START, 0}, {IDX_MATERIAL, 2}, {IDX_LINE, 1}, {IDX_CLOSE, 2}};
  p.objects.appendObject(std::move(face));
  auto aux = ObjectList::allocObject(0, 2, 2);
  aux->layer = LAYER_AUX;
  aux->nodes = {{0, 0, 0}, {0, 0, 2}};
  aux->indices = {{IDX_START, 0}, {IDX_LINE, 1}};
  p.objects.appendObject(std::move(aux));
  return writeProjectBytes(p);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked(
      [](const std::filesystem::path& dir) { fuzz::writeFile(dir / "merge.TPR", seedProject()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  for (std::uint32_t layer : {std::uint32_t{LAYER_ROOM}, std::uint32_t{LAYER_AUX}}) {
    Project project;
    const MergeResult r = mergeProjectBytes(project, bytes, layer);
    fuzz::check(r.ok() || r.added == 0, "a damaged file adds nothing");
    fuzz::check(project.objects.countObjects() == r.added, "every merged object is counted");
    for (const ModelObject& o : project.objects)
      fuzz::check(o.layer == layer, "merged objects go to the target layer");
    const ProjectLoadResult back = readProject(writeProjectBytes(project));
    fuzz::check(back.ok() && back.project.objects.countObjects() == r.added,
                "the merged model saves and reads back");
  }
  return 0;
}
