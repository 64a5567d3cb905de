// Loudspeaker databases (.TSB) in their three layouts: listing, reading
// heads, records and shapes, and copying every listed type into a project
// never go wrong, whatever the file holds.
#include <cstdint>
#include <cstring>
#include <span>

#include "fuzz/fuzz_support.h"
#include "model/le_io.h"
#include "model/project.h"
#include "model/project_file.h"
#include "speakers/record_scrambling.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_shape.h"

namespace {

using namespace tav;

SpeakerType seedType(const char* name) {
  SpeakerType t = resetSpeakerType();
  setFixedString(t.name, name);
  setFixedString(t.brand, "Seed");
  for (std::size_t k = 0; k < 20; ++k) t.tail[8 + k] = static_cast<std::uint8_t>(17 * k + 3);
  return t;
}

// Layout 1: plain older records (200-byte head, 36-row bands).
std::vector<std::uint8_t> plainSeed() {
  LeWriter w;
  w.fixedText(SPEAKER_DB_MAGIC_1, SPEAKER_DB_HEADER_SIZE);
  std::vector<std::uint8_t> record(OLD_SPEAKER_TYPE_SIZE, 225);
  std::fill_n(record.begin(), OLD_SPEAKER_HEAD_SIZE, 0);
  std::memcpy(record.data() + 21, "OLD1", 4);
  w.bytes(record);
  return std::move(w.buffer());
}

// Layout 2: protected current records without shapes.
std::vector<std::uint8_t> protectedSeed() {
  LeWriter w;
  w.fixedText(SPEAKER_DB_MAGIC_2, SPEAKER_DB_HEADER_SIZE);
  std::vector<std::uint8_t> record(SPEAKER_TYPE_SIZE);
  const std::span<std::uint8_t, SPEAKER_TYPE_SIZE> span(record.data(), SPEAKER_TYPE_SIZE);
  encodeSpeakerType(seedType("PROT1"), span);
  scrambleSpeakerRecord(span);
  w.bytes(record);
  return std::move(w.buffer());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    fuzz::writeFile(dir / "plain.TSB", plainSeed());
    fuzz::writeFile(dir / "protected.TSB", protectedSeed());
    const auto shape = makeSpeakerShape({{0, 0, 0}, {0.1f, 0, 0}, {0, 0.1f, 0}},
                                        {{IDX_START, 0}, {IDX_LINE, 1}, {IDX_CLOSE, 2}});
    fuzz::writeFile(dir / "shapes.TSB", encodeSpeakerDatabase({{seedType("SHAPE1"), shape.get()},
                                                               {seedType("NOSHAPE"), nullptr}}));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::scratch().file("input.TSB").string();
  fuzz::writeFile(path, std::span<const std::uint8_t>(data, size));

  SpeakerDatabaseIndex index;
  const DatabaseLoadResult r = loadSpeakerDatabase(index, path);
  fuzz::check(r.opened, "a written file opens");
  if (!r.loaded) {
    fuzz::check(!index.loaded(), "an unknown header leaves the index empty");
    return 0;
  }
  fuzz::check(index.count() <= MAX_DATABASE_TYPES, "at most 512 listed types");
  applyPreselection(index, 1);
  Project project;
  for (std::size_t i = 0; i < index.count(); ++i) {
    if (auto head = readSpeakerHead(index, i)) (void)speakerTypeFromHead(*head);
    selectDatabaseEntry(index, static_cast<int>(i));
    (void)readSpeakerType(index, i);
    UserMessage message;
    (void)readSpeakerShape(index, i, &message);
    // Appending, then replacing the first slot (which frees its shape).
    const std::size_t slot = i % 2 == 0 ? project.speakerTypes.size() : 0;
    copyTypeIntoProject(project, index, slot, index.entries[i].name, &message);
  }
  for (const auto& t : project.speakerTypes)
    fuzz::check(!t->shape || project.objects.contains(t->shape),
                "a copied type's shape is in the object list");
  const ProjectLoadResult back = readProject(writeProjectBytes(project));
  fuzz::check(back.ok() && back.resetSpeakerTypes == 0 &&
                  back.project.speakerTypes.size() == project.speakerTypes.size(),
              "copied types save with the project and pass their check");
  for (std::size_t i = 0; i < project.speakerTypes.size(); ++i)
    fuzz::check((back.project.speakerTypes[i]->shape != nullptr) ==
                    (project.speakerTypes[i]->shape != nullptr),
                "a copied type keeps its shape through saving");
  return 0;
}
