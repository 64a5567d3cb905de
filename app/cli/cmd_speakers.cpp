// taviron-cli speakers FILE: the loudspeaker listing as JSON, in the
// window's order (by x, then y, then z), with each loudspeaker's electrical
// and acoustic power per band (0 when switched off) and the totals over the
// switched-on ones.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "model/le_io.h"
#include "model/project_file.h"
#include "model/text_encoding.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_listing.h"

namespace tav::cli {

namespace {

int runSpeakers(const std::string& path) {
  ProjectLoadResult loaded = loadProject(path);
  if (!loaded.ok()) {
    printError(loaded.error.text);
    return EXIT_FILE_ERROR;
  }
  Project& project = loaded.project;
  const std::vector<ModelObject*> speakers = sortedLoudspeakers(project);
  refreshSpeakerPowers(project, speakers);
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const ModelObject* o : speakers) {
    const PlacedSpeaker s = *speakerOf(*o);
    const SpeakerType* type = speakerTypeOf(project, s);
    list.push_back({
        {"name", cp1252ToUtf8(fixedString(s.name))},
        {"type", type ? cp1252ToUtf8(fixedString(type->name)) : std::string()},
        {"position", {s.position.x, s.position.y, s.position.z}},
        {"switchedOn", s.isOn()},
        {"electricalPower", listedElectricalPower(s)},
        {"acousticPower", type ? speakerAcousticPower(s, *type) : BandPowers{}},
    });
  }
  const SpeakerTotals totals = speakerTotals(project, speakers);
  nlohmann::ordered_json out;
  out["speakers"] = std::move(list);
  out["totals"] = {{"electricalPower", totals.electrical}, {"acousticPower", totals.acoustic}};
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "speakers",
    "Print the loudspeaker listing with band powers and totals, as JSON",
    [](CLI::App& app) {
      auto path = std::make_shared<std::string>();
      app.add_option("file", *path, "Project file (.TPR)")->required();
      return std::function<int()>([path] { return runSpeakers(*path); });
    },
}};

}  // namespace

}  // namespace tav::cli
