// Project files (.TPR) of every version: reading must end in a project or
// "Invalid file format !", never a crash; what was read must save and read
// back with the same objects, types and materials.
#include <cstdint>
#include <span>

#include "fuzz/fuzz_support.h"
#include "model/le_io.h"
#include "model/project_file.h"
#include "speakers/speaker_shape.h"

namespace {

using namespace tav;

// A small current-layout project: a face, a speaker shape with a type
// that uses it, one material and a print header.
std::vector<std::uint8_t> currentSeed() {
  Project p;
  auto face = ObjectList::allocObject(0, 4, 5);
  face->shape = SHAPE_FACE;
  face->nodes = {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 0}};
  face->indices = {{IDX_START, 0}, {IDX_MATERIAL, 1}, {IDX_LINE, 1}, {IDX_LINE, 2}, {IDX_CLOSE, 3}};
  p.objects.appendObject(std::move(face));
  ModelObject* shape = p.objects.appendObject(makeSpeakerShape(
      {{0, 0, 0}, {0.2f, 0, 0}, {0, 0.2f, 0}}, {{IDX_START, 0}, {IDX_LINE, 1}, {IDX_CLOSE, 2}}));
  auto type = std::make_unique<SpeakerType>(resetSpeakerType());
  setFixedString(type->name, "SEED1");
  type->shape = shape;
  p.speakerTypes.push_back(std::move(type));
  AbsorberMaterial m;
  setFixedString(m.name, "Concrete");
  p.materials.slots.push_back(m);
  return writeProjectBytes(p);
}

// The 1.27 layout: 102-byte header, 16 layer records, one 40-byte record
// with packed entries, no types, no materials.
std::vector<std::uint8_t> legacySeed() {
  LeWriter w;
  w.fixedText(PROJECT_MAGIC_V127, PROJECT_MAGIC_SIZE);
  w.zeros(PROJECT_HEADER_SIZE - PROJECT_MAGIC_SIZE);
  for (int i = 0; i < STORED_LAYER_COUNT; ++i) {
    w.fixedText("LAYER", 22);
    w.i16(1);
  }
  w.u32(0);  // prev
  w.u32(0);  // next: the last record
  w.zeros(12);
  w.u32(SHAPE_FACE);
  w.u32(0);  // flags
  w.u32(0);  // colour
  w.u16(0);  // layer
  w.u16(3);  // nodes
  w.u16(3);  // entries
  w.u16(0);  // data
  for (float v : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f}) w.f32(v);
  w.u16(IDX_START | (0 << 2));
  w.u16(IDX_LINE | (1 << 2));
  w.u16(IDX_CLOSE | (2 << 2));
  w.i16(0);  // speaker types
  w.i16(0);  // materials
  return std::move(w.buffer());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    fuzz::writeFile(dir / "current.TPR", currentSeed());
    fuzz::writeFile(dir / "legacy.TPR", legacySeed());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ProjectLoadResult first = readProject(std::span<const std::uint8_t>(data, size));
  if (!first.ok()) return 0;
  for (const ModelObject& o : first.project.objects)
    for (const IndexEntry& e : o.indices)
      fuzz::check(e.code == IDX_MATERIAL || e.ref < o.nodes.size(),
                  "entries naming missing nodes are left out");
  const std::vector<std::uint8_t> saved = writeProjectBytes(first.project);
  ProjectLoadResult second = readProject(saved);
  fuzz::check(second.ok(), "a project that was read saves into a readable file");
  fuzz::check(second.project.objects.countObjects() == first.project.objects.countObjects(),
              "saving keeps every object");
  fuzz::check(second.project.speakerTypes.size() == first.project.speakerTypes.size(),
              "saving keeps every speaker type");
  fuzz::check(second.project.materials.slots.size() == first.project.materials.slots.size(),
              "saving keeps every material");
  fuzz::check(second.resetSpeakerTypes == 0, "saved speaker types pass their check");
  fuzz::check(second.droppedEntries == 0, "a saved project has no damaged entries");
  // A file in the current layout is stable under reading and saving. (Older
  // files keep the stored colour of loudspeaker objects on the first reading
  // only, so their first save may differ.)
  const std::vector<std::uint8_t> savedAgain = writeProjectBytes(second.project);
  if (first.version >= PROJECT_VERSION_CURRENT_READER) {
    fuzz::check(savedAgain == saved, "saving what was read back gives the same file");
  } else {
    ProjectLoadResult third = readProject(savedAgain);
    fuzz::check(third.ok() && writeProjectBytes(third.project) == savedAgain,
                "a converted file is stable under reading and saving");
  }
  return 0;
}
