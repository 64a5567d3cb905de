// taviron-cli balloon FILE --select NAME,NAME...|all --out CLUSTER.TSB: the
// cluster balloon of the chosen loudspeakers (by name) written as a
// one-type database; the new type's name, sensitivity, maximum power,
// directivity factor and efficiency per band printed as JSON. No Level +
// Time run precedes it here, so shading and reflections are off.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "cli_command.h"
#include "model/le_io.h"
#include "model/project_file.h"
#include "model/save_file.h"
#include "model/text_encoding.h"
#include "speakers/cluster_balloons.h"
#include "speakers/placed_speaker.h"
#include "speakers/speaker_database.h"

namespace tav::cli {

namespace {

struct BalloonOptions {
  std::string project, select, out, description;
};

int runBalloon(const BalloonOptions& o) {
  ProjectLoadResult loaded = loadProject(o.project);
  if (!loaded.ok()) {
    printError(loaded.error.text);
    return EXIT_FILE_ERROR;
  }
  Project& project = loaded.project;
  // The chosen loudspeakers carry OF_SELECTED, as the window's selection.
  std::set<std::string> names;
  for (std::size_t start = 0; start <= o.select.size();) {
    const std::size_t comma = std::min(o.select.find(',', start), o.select.size());
    names.insert(utf8ToCp1252(o.select.substr(start, comma - start)));
    start = comma + 1;
  }
  const bool all = names.size() == 1 && *names.begin() == "all";
  std::set<std::string> found;
  for (ModelObject& obj : project.objects) {
    obj.flags &= ~OF_SELECTED;
    const std::optional<PlacedSpeaker> s = speakerOf(obj);
    if (!s) continue;
    const std::string name = fixedString(s->name);
    if (all || names.count(name)) {
      obj.flags |= OF_SELECTED;
      found.insert(name);
    }
  }
  if (!all)
    for (const std::string& name : names)
      if (!found.count(name)) {
        printError("No loudspeaker is named \"" + cp1252ToUtf8(name) + "\"");
        return EXIT_FILE_ERROR;
      }
  const ClusterMembers members = selectedClusterMembers(project);
  if (members.objects.size() < 2) {
    printError("A cluster needs at least two loudspeakers");
    return EXIT_FILE_ERROR;
  }
  int shown = -1;
  std::optional<SpeakerType> type = computeClusterBalloon(project, members, 0, [&shown](int value) {
    if (value / 10 != shown / 10) std::cerr << "Calculation Status : " << value << " %\n";
    shown = value;
    return false;
  });
  setFixedString(type->description, utf8ToCp1252(o.description).substr(0, CLUSTER_DESCRIPTION_MAX));
  const std::string path = speakerDatabasePath(o.out);
  if (!saveFileAtomically(path, encodeClusterDatabase(*type, members))) {
    printError(MSG_CANT_WRITE_FILE);
    return EXIT_FILE_ERROR;
  }
  nlohmann::ordered_json q = nlohmann::ordered_json::array();
  for (std::uint16_t v : type->directivityFactor) q.push_back(v / 10.0);
  nlohmann::ordered_json out;
  out["name"] = cp1252ToUtf8(fixedString(type->name));
  out["brand"] = cp1252ToUtf8(fixedString(type->brand));
  out["speakers"] = members.objects.size();
  out["centre"] = {members.centre.x, members.centre.y, members.centre.z};
  out["sensitivity"] = type->sensitivity;
  out["maxPower"] = type->maxPower;
  out["directivityFactor"] = std::move(q);
  out["efficiency"] = type->efficiency;
  out["file"] = path;
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "balloon",
    "Compute the cluster balloon of loudspeakers and write it as a one-type database",
    [](CLI::App& app) {
      auto o = std::make_shared<BalloonOptions>();
      app.add_option("file", o->project, "Project file (.TPR)")->required();
      app.add_option("--select", o->select, "Loudspeaker names separated by commas, or all")
          ->required();
      app.add_option("--out", o->out, "Database to write (.TSB is appended when missing)")
          ->required();
      app.add_option("--description", o->description,
                     "Description of the new type (40 characters)");
      return std::function<int()>([o] { return runBalloon(*o); });
    },
}};

}  // namespace

}  // namespace tav::cli
