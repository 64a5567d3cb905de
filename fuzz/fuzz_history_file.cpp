// The history file (HISTORY.TVX): any bytes give a usable history, and the
// history written back reads as the same folders and recent projects.
#include <cstdint>
#include <span>

#include "fuzz/fuzz_support.h"
#include "model/history_file.h"

namespace {

using namespace tav;

bool sameHistory(const History& a, const History& b) {
  return a.feet == b.feet && a.projectFolder == b.projectFolder &&
         a.speakerDatabasePath == b.speakerDatabasePath &&
         a.absorberDatabasePath == b.absorberDatabasePath && a.fourthPath == b.fourthPath &&
         a.recent == b.recent;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    History h;
    h.feet = true;
    h.projectFolder = "/home/user/projects";
    h.speakerDatabasePath = "/home/user/speakers.TSB";
    h.absorberDatabasePath = "/home/user/materials.TAB";
    h.recent = {"/home/user/projects/HALL.TPR", "/home/user/projects/CHURCH.TPR", "", ""};
    writeHistory((dir / "HISTORY.TVX").string(), h);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  History h = readHistory(std::span<const std::uint8_t>(data, size));
  fuzz::check(h.recentCount() <= RECENT_PROJECT_COUNT, "at most four recent projects");
  for (std::size_t i = h.recentCount(); i < RECENT_PROJECT_COUNT; ++i)
    fuzz::check(h.recent[i].empty(), "recent projects are compacted to the front");
  enterRecentProject(h, "/tmp/NEW.TPR");
  fuzz::check(h.recent[0] == "/tmp/NEW.TPR", "an entered project heads the list");
  const std::string path = fuzz::scratch().file("HISTORY.TVX").string();
  fuzz::check(writeHistory(path, h), "the history can be written");
  fuzz::check(sameHistory(loadHistory(path), h), "the history reads back as written");
  return 0;
}
