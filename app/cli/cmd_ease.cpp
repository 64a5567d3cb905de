// taviron-cli ease-export and ease-import: room faces and loudspeakers of a
// project to and from EASE exchange files, the version following the file's
// extension (faces: .xfc 3.x, .imp/.exp 2.x; loudspeakers: .xld 3.x,
// .imp/.exp 2.x).
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli_command.h"
#include "exchange/ease_faces.h"
#include "exchange/ease_speakers.h"
#include "exchange/ease_text.h"
#include "model/le_io.h"
#include "model/project_file.h"
#include "model/save_file.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_editing.h"

namespace tav::cli {

namespace {

enum class EaseVersion { Unknown, V2, V3 };

EaseVersion versionOf(const std::string& path, const char* v3Extension, const char* v2Extension) {
  if (withEaseExtension(path, v3Extension) == path) return EaseVersion::V3;
  if (withEaseExtension(path, v2Extension) == path) return EaseVersion::V2;
  return EaseVersion::Unknown;
}

int usage(const std::string& path, const char* v3Extension, const char* v2Extension) {
  printError(path + ": the file name must end in " + v3Extension + " (EASE 3.x) or " + v2Extension +
             " (EASE 2.x)");
  return EXIT_USAGE;
}

bool writeText(const std::string& path, const std::string& text) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
  if (saveFileAtomically(path, std::span<const std::uint8_t>(data, text.size()))) return true;
  printError(MSG_CANT_WRITE_FILE);
  return false;
}

std::optional<std::string> readText(const std::string& path) {
  const std::optional<std::vector<std::uint8_t>> bytes = readWholeFile(path);
  if (!bytes) {
    printError(MSG_CANT_LOCATE_FILE);
    return std::nullopt;
  }
  return std::string(bytes->begin(), bytes->end());
}

int runExport(const std::string& path, const std::string& facesPath,
              const std::string& speakersPath) {
  if (facesPath.empty() && speakersPath.empty()) {
    printError("Nothing to export: give --faces or --speakers");
    return EXIT_USAGE;
  }
  const EaseVersion facesVersion = versionOf(facesPath, ".xfc", ".imp");
  if (!facesPath.empty() && facesVersion == EaseVersion::Unknown)
    return usage(facesPath, ".xfc", ".imp");
  const EaseVersion speakersVersion = versionOf(speakersPath, ".xld", ".imp");
  if (!speakersPath.empty() && speakersVersion == EaseVersion::Unknown)
    return usage(speakersPath, ".xld", ".imp");
  ProjectLoadResult loaded = loadProject(path);
  if (!loaded.ok()) {
    printError(loaded.error.text);
    return EXIT_FILE_ERROR;
  }
  const Project& project = loaded.project;
  nlohmann::ordered_json out;
  if (!facesPath.empty()) {
    // Every face and solid of the Room layer, as if all were selected.
    std::vector<const ModelObject*> room;
    for (const ModelObject& o : project.objects)
      if (o.layer == LAYER_ROOM) room.push_back(&o);
    const EaseFaceExport file =
        facesVersion == EaseVersion::V3 ? writeEaseFacesV3(room) : writeEaseFacesV2(room);
    if (file.tooLarge) {
      printError(MSG_EASE2_FACE_TOO_LARGE);
      return EXIT_FILE_ERROR;
    }
    if (!writeText(facesPath, file.text)) return EXIT_FILE_ERROR;
    out["faces"] = {{"file", facesPath}, {"count", file.faces}};
  }
  if (!speakersPath.empty()) {
    const std::size_t count = project.objects.countLoudspeakers();
    if (count > 0 &&
        !writeText(speakersPath, speakersVersion == EaseVersion::V3 ? writeEaseSpeakersV3(project)
                                                                    : writeEaseSpeakersV2(project)))
      return EXIT_FILE_ERROR;
    // No loudspeaker: nothing is written, as in the window.
    out["speakers"] = {{"file", count > 0 ? speakersPath : ""}, {"count", count}};
  }
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

struct ImportOptions {
  std::string project, faces, speakers, database, out;
};

int runImport(const ImportOptions& o) {
  if (o.faces.empty() == o.speakers.empty()) {
    printError("Give either --faces or --speakers");
    return EXIT_USAGE;
  }
  const bool faces = !o.faces.empty();
  const std::string& file = faces ? o.faces : o.speakers;
  const EaseVersion version =
      faces ? versionOf(file, ".xfc", ".exp") : versionOf(file, ".xld", ".exp");
  if (version == EaseVersion::Unknown)
    return faces ? usage(file, ".xfc", ".exp") : usage(file, ".xld", ".exp");
  if (!faces && o.database.empty()) {
    printError(MSG_MUST_LOAD_DATABASE);
    return EXIT_USAGE;
  }
  ProjectLoadResult loaded = loadProject(o.project);
  if (!loaded.ok()) {
    printError(loaded.error.text);
    return EXIT_FILE_ERROR;
  }
  Project& project = loaded.project;
  SpeakerDatabaseIndex index;
  if (!faces) {
    const DatabaseLoadResult db = loadSpeakerDatabase(index, o.database);
    if (!db.loaded) {
      printError(db.opened ? db.message.text : std::string(MSG_CANT_LOCATE_FILE));
      return EXIT_FILE_ERROR;
    }
    if (!db.message.empty()) printError(db.message.text);
  }
  const std::optional<std::string> text = readText(file);
  if (!text) return EXIT_FILE_ERROR;

  nlohmann::ordered_json out;
  if (faces) {
    EaseFaceImport read =
        version == EaseVersion::V3 ? readEaseFacesV3(*text) : readEaseFacesV2(*text);
    if (read.headerMissing) {
      printError(MSG_EASE3_HEADER_MISSING);
      return EXIT_FILE_ERROR;
    }
    const UserMessage report = easeFaceImportReport(read);
    if (!report.empty()) printError(report.text);
    out["faces"] = insertImportedFaces(project.objects, read);
    out["skippedLines"] = read.skippedLines;
    out["droppedFaces"] = read.droppedFaces;
  } else {
    const std::size_t existing = project.objects.countLoudspeakers();
    EaseSpeakerImport read = version == EaseVersion::V3 ? readEaseSpeakersV3(*text, existing)
                                                        : readEaseSpeakersV2(*text, existing);
    if (read.limitReached) printError(MSG_TOO_MANY_SPEAKERS);
    std::size_t added = 0;
    nlohmann::json missing = nlohmann::json::array();
    for (PlacedSpeaker& s : read.speakers) {
      UserMessage message;
      const std::string name = fixedString(s.group);
      const bool found = findImportedSpeakerType(project, index, s, &message);
      if (!message.empty()) printError(message.text);
      if (!found) {
        printError(std::string(MSG_SPEAKER_NOT_AVAILABLE) + ": " + name);
        missing.push_back(name);
        continue;
      }
      if (enterImportedSpeaker(project, s, true)) ++added;
    }
    out["speakers"] = added;
    out["missingTypes"] = std::move(missing);
    out["skippedLines"] = read.skippedLines;
  }
  const UserMessage saved = saveProjectAs(project, o.out);
  if (!saved.empty()) {
    printError(saved.text);
    return EXIT_FILE_ERROR;
  }
  out["out"] = project.name;
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration exportRegistration{{
    "ease-export",
    "Write the Room layer's faces and solids and the loudspeakers to EASE files",
    [](CLI::App& app) {
      auto path = std::make_shared<std::string>();
      auto faces = std::make_shared<std::string>();
      auto speakers = std::make_shared<std::string>();
      app.add_option("file", *path, "Project file (.TPR)")->required();
      app.add_option("--faces", *faces, "Room faces to OUT.xfc (EASE 3.x) or OUT.imp (EASE 2.x)");
      app.add_option("--speakers", *speakers,
                     "Loudspeakers to OUT.xld (EASE 3.x) or OUT.imp (EASE 2.x)");
      return std::function<int()>(
          [path, faces, speakers] { return runExport(*path, *faces, *speakers); });
    },
}};

CliCommandRegistration importRegistration{{
    "ease-import",
    "Add the faces or loudspeakers of an EASE file to a project and write it",
    [](CLI::App& app) {
      auto o = std::make_shared<ImportOptions>();
      app.add_option("file", o->project, "Project file (.TPR)")->required();
      app.add_option("--faces", o->faces, "Room faces from IN.xfc (EASE 3.x) or IN.exp (EASE 2.x)");
      app.add_option("--speakers", o->speakers,
                     "Loudspeakers from IN.xld (EASE 3.x) or IN.exp (EASE 2.x)");
      app.add_option("--database", o->database,
                     "Loudspeaker database (.TSB) the imported types are taken from");
      app.add_option("--out", o->out, "Project file to write (.TPR is appended when missing)")
          ->required();
      return std::function<int()>([o] { return runImport(*o); });
    },
}};

}  // namespace

}  // namespace tav::cli
