// What the four EASE fuzz targets check: the faces or loudspeakers a reader
// makes are sound records, and what the matching writer writes of them the
// reader takes back unchanged (within the files' decimals).
#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "exchange/ease_faces.h"
#include "exchange/ease_speakers.h"
#include "fuzz/fuzz_support.h"
#include "model/le_io.h"
#include "model/project.h"
#include "speakers/speaker_drawing.h"
#include "speakers/speaker_shape.h"

namespace tav::fuzz {

// Equal within what "%f" keeps of a float.
inline bool closeFloat(double a, double b, double decimals) {
  return std::fabs(a - b) <= 0.6 * std::pow(10.0, -decimals) + 1e-6 * std::fabs(a);
}

inline void checkFaces(const EaseFaceImport& read, bool v3) {
  std::vector<const ModelObject*> faces;
  for (const auto& f : read.faces) {
    const std::size_t n = f->nodes.size();
    check(n >= EASE_FACE_MIN_NODES && n <= MAX_OBJECT_NODES, "a face of 3 or more nodes");
    check(v3 || n <= EASE2_FACE_LINES, "a 2.x face of at most ten nodes");
    check(f->indices.size() == n + 1, "n + 1 entries");
    check(f->indices[0].code == IDX_START && f->indices[1].code == IDX_MATERIAL &&
              f->indices.back().code == IDX_CLOSE,
          "start, material, close");
    for (const IndexEntry& e : f->indices)
      check(e.code == IDX_MATERIAL ? e.ref == 0 : e.ref < n, "node numbers within the face");
    for (const Node& p : f->nodes)
      check(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z), "finite nodes");
    check(f->layer == LAYER_ROOM && f->shape == SHAPE_FACE, "a room face");
    faces.push_back(f.get());
  }
  const EaseFaceExport written = v3 ? writeEaseFacesV3(faces) : writeEaseFacesV2(faces);
  check(!written.tooLarge && written.faces == faces.size(), "every face is written");
  const EaseFaceImport back = v3 ? readEaseFacesV3(written.text) : readEaseFacesV2(written.text);
  check(!back.headerMissing && back.skippedLines == 0 && back.droppedFaces == 0,
        "a written file reads without complaint");
  check(back.faces.size() == faces.size(), "every face comes back");
  for (std::size_t k = 0; k < faces.size(); ++k) {
    const ModelObject& a = *faces[k];
    const ModelObject& b = *back.faces[k];
    check(a.indices == b.indices && a.nodes.size() == b.nodes.size(), "the same face order");
    for (std::size_t i = 0; i < a.nodes.size(); ++i)
      check(closeFloat(a.nodes[i].x, b.nodes[i].x, 6) &&
                closeFloat(a.nodes[i].y, b.nodes[i].y, 6) &&
                closeFloat(a.nodes[i].z, b.nodes[i].z, 6),
            "the same nodes");
  }
}

inline void checkSpeakers(const EaseSpeakerImport& read, bool v3) {
  check(read.speakers.size() <= MAX_LOUDSPEAKERS, "at most 5000 loudspeakers");
  // A project with one type per name, the loudspeakers placed as read.
  Project project;
  for (const PlacedSpeaker& s : read.speakers) {
    const std::string name = fixedString(s.group);
    check(name.size() <= EASE_TYPE_NAME_LENGTH, "type names of at most 8 characters");
    for (float v : {s.position.x, s.position.y, s.position.z, s.horizontal, s.vertical, s.rotation,
                    s.delay, s.nominalPower})
      check(std::isfinite(v), "finite fields");
    PlacedSpeaker placed = s;
    placed.typeIndex = -1;
    for (std::size_t t = 0; t < project.speakerTypes.size(); ++t)
      if (fixedString(project.speakerTypes[t]->name) == name)
        placed.typeIndex = static_cast<std::int16_t>(t);
    if (placed.typeIndex < 0) {
      auto type = std::make_unique<SpeakerType>();
      setFixedString(type->name, name);
      placed.typeIndex = static_cast<std::int16_t>(project.speakerTypes.size());
      project.speakerTypes.push_back(std::move(type));
    }
    // In list order as read: each drawing goes to the head, so append.
    auto o = std::make_unique<ModelObject>();
    speakerDrawingGeometry(placed, defaultSpeakerShape(), *o);
    project.objects.appendObject(std::move(o));
  }
  const std::string text = v3 ? writeEaseSpeakersV3(project) : writeEaseSpeakersV2(project);
  const EaseSpeakerImport back = v3 ? readEaseSpeakersV3(text, 0) : readEaseSpeakersV2(text, 0);
  check(back.skippedLines == 0, "a written file reads without complaint");
  check(back.speakers.size() == read.speakers.size(), "every loudspeaker comes back");
  for (std::size_t i = 0; i < back.speakers.size(); ++i) {
    const PlacedSpeaker& a = read.speakers[i];
    const PlacedSpeaker& b = back.speakers[i];
    check(fixedString(a.group) == fixedString(b.group), "the same type name");
    check(closeFloat(a.position.x, b.position.x, 2) && closeFloat(a.position.y, b.position.y, 2) &&
              closeFloat(a.position.z, b.position.z, 2),
          "positions to 2 decimals");
    check(closeFloat(a.delay, b.delay, 6), "the same delay");
    // Angles to 0.1 degree, the horizontal one modulo a turn.
    const double turn = 360.0, deg = 180.0 / EASE_PI;
    auto sameAngle = [&](double x, double y) {
      if (std::fabs(x * deg) > 1e4) return true;  // beyond one decimal of a float
      const double d = std::remainder((x - y) * deg, turn);
      return std::fabs(d) <= 0.051 + 1e-5 * std::fabs(x * deg);
    };
    check(sameAngle(a.horizontal, b.horizontal) && sameAngle(a.vertical, b.vertical) &&
              sameAngle(a.rotation, b.rotation),
          "angles to 0.1 degree");
  }
}

}  // namespace tav::fuzz
