#include "exchange/ease_speakers.h"

#include <algorithm>
#include <cmath>

#include "exchange/ease_text.h"
#include "model/le_io.h"
#include "model/number_scan.h"
#include "model/number_text.h"
#include "model/project.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_drawing.h"
#include "speakers/speaker_power.h"

namespace tav {

namespace {

// Third-octave values per octave band in the 3.x format; the middle one is
// read back.
constexpr std::size_t THIRDS_PER_BAND = 3;
constexpr std::size_t EASE3_VALUES = BAND_COUNT * THIRDS_PER_BAND;
// The lowest gain the equalizer shows (dB).
constexpr double LOWEST_GAIN_DB = -100.0;

double degrees(double radians) { return radians * 180.0 / EASE_PI; }
double radians(double degrees) { return degrees * EASE_PI / 180.0; }

std::string joined(const std::array<double, BAND_COUNT>& values, int precision, int width,
                   std::size_t repeat) {
  std::string s;
  for (double v : values)
    for (std::size_t k = 0; k < repeat; ++k) {
      if (!s.empty()) s += ',';
      s += formatFixed(v, precision, width);
    }
  return s;
}

struct SpeakerLines {
  std::string position, angles, name, delay, levels, powers;
};

// The numbers the two formats share, formatted alike.
SpeakerLines speakerLines(const Project& project, const PlacedSpeaker& s, std::size_t repeat) {
  SpeakerLines l;
  l.position = formatFixed(s.position.x, 2, 4) + ',' + formatFixed(s.position.y, 2, 4) + ',' +
               formatFixed(s.position.z, 2, 4);
  l.angles = formatFixed(degrees(s.vertical), 1, 3) + ',' +
             formatFixed(easeHorizontalDegrees(s.horizontal), 1, 3) + ',' +
             formatFixed(degrees(s.rotation), 1, 3);
  const SpeakerType* type = speakerTypeOf(project, s);
  l.name = type ? fixedString(type->name) : std::string();
  l.delay = formatFixed(s.delay, 6) + ',' + formatFixed(0.0, 6);
  std::array<double, BAND_COUNT> levels{}, powers{};
  for (int b = 0; b < BAND_COUNT; ++b) {
    levels[b] = easeLevelDb(s.acousticFactor[b]);
    powers[b] = s.electricalPower[b];
  }
  l.levels = joined(levels, 1, 3, repeat);
  l.powers = joined(powers, 1, 5, repeat);
  return l;
}

// Numbers that fit the record's floats; a line with any other is unreadable.
bool readFloats(std::string_view text, double* v, std::size_t count) {
  if (!scanNumberList(text, v, count)) return false;
  for (std::size_t i = 0; i < count; ++i)
    if (!fitsFloat(v[i])) return false;
  return true;
}

bool readAngles(std::string_view text, PlacedSpeaker& s) {
  double v[3];
  if (!readFloats(text, v, 3)) return false;
  s.vertical = static_cast<float>(radians(v[0]));
  s.horizontal = static_cast<float>(modelHorizontalRadians(v[1]));
  s.rotation = static_cast<float>(radians(v[2]));
  return true;
}

bool readPosition(std::string_view text, PlacedSpeaker& s) {
  double v[3];
  if (!readFloats(text, v, 3)) return false;
  s.position = toNode({v[0], v[1], v[2]});
  return true;
}

bool readDelay(std::string_view text, PlacedSpeaker& s) {
  const std::optional<double> d = scanNumber(text);
  if (!d || !fitsFloat(*d)) return false;
  s.delay = static_cast<float>(*d);
  return true;
}

// Levels at 1 m (dB) stored as acoustic factors 10^(dB/10).
bool readLevels(std::string_view text, PlacedSpeaker& s) {
  double v[BAND_COUNT];
  if (!scanNumberList(text, v, BAND_COUNT)) return false;
  for (double& db : v) {
    db = std::pow(10.0, db / 10.0);
    if (!fitsFloat(db)) return false;
  }
  for (int b = 0; b < BAND_COUNT; ++b) s.acousticFactor[b] = static_cast<float>(v[b]);
  return true;
}

// Electrical powers per band; the largest is the nominal power.
void setPowers(PlacedSpeaker& s, const double* watts) {
  float largest = 0;
  for (int b = 0; b < BAND_COUNT; ++b) {
    s.electricalPower[b] = static_cast<float>(watts[b]);
    largest = std::max(largest, s.electricalPower[b]);
  }
  s.nominalPower = largest;
}

PlacedSpeaker importedRecord() {
  PlacedSpeaker s;  // switched on, polarity +1
  s.nominalPower = 0;
  return s;
}

void setTypeName(PlacedSpeaker& s, std::string_view name) {
  setFixedString(s.group, name.substr(0, std::min(name.size(), EASE_TYPE_NAME_LENGTH)));
}

// The 2.x name field: from the second character to the first blank (or
// closing quote), at most 8 characters.
std::string_view easeV2Name(std::string_view line) {
  if (line.size() < 2) return {};
  line.remove_prefix(1);
  const std::size_t end = line.find_first_of(" \t\"");
  return line.substr(0, std::min(end, EASE_TYPE_NAME_LENGTH));
}

}  // namespace

double easeHorizontalDegrees(double modelRadians) {
  double d = degrees(modelRadians) + 90.0;
  // 90 degrees stored as a float radian lies a little above pi / 2; what the
  // file shows as 180.0 stays 180.
  if (d >= 180.0 + EASE_ANGLE_HALF_STEP) d -= 360.0;
  return d;
}

double modelHorizontalRadians(double easeDegrees) {
  double r = radians(easeDegrees - 90.0);
  if (r < -EASE_PI) r += EASE_TWO_PI;
  return r;
}

double easeLevelDb(double acousticFactor) {
  const double db = 10.0 * std::log10(acousticFactor);
  return db >= 0.0 ? db : 0.0;  // also for a factor of 0 (-inf) and below 0 (NaN)
}

std::string writeEaseSpeakersV2(const Project& project) {
  std::string text;
  for (const ModelObject& o : project.objects) {
    const std::optional<PlacedSpeaker> s = speakerOf(o);
    if (!s) continue;
    const SpeakerLines l = speakerLines(project, *s, 1);
    std::string name = l.name;
    if (name.size() < EASE2_NAME_FIELD) name.resize(EASE2_NAME_FIELD, ' ');
    text += l.position + '\n' + l.angles + '\n' + '"' + name + "\"\n" + l.delay + '\n' + l.levels +
            '\n' + l.powers + '\n';
  }
  return text;
}

std::string writeEaseSpeakersV3(const Project& project) {
  std::string text = formatKeyLine("Filetype", "Loudspeakers") + '\n';
  text += formatKeyLine("Format", "") + "3.0\n";
  text += formatKeyLine("LengthUnit", "m") + '\n';
  std::size_t n = 0;
  for (const ModelObject& o : project.objects) {
    const std::optional<PlacedSpeaker> s = speakerOf(o);
    if (!s) continue;
    const SpeakerLines l = speakerLines(project, *s, THIRDS_PER_BAND);
    text += formatKeyLine("Label", "S" + std::to_string(++n)) + '\n';
    text += formatKeyLine("Position", "") + l.position + '\n';
    text += formatKeyLine("Ver/Hor/Rot", "") + l.angles + '\n';
    text += formatKeyLine("Speaker", l.name) + '\n';
    text += formatKeyLine("Delay/Align", "") + l.delay + '\n';
    text += formatKeyLine("dB 1m", "") + l.levels + '\n';
    text += formatKeyLine("Watts", "") + l.powers + '\n';
  }
  return text;
}

EaseSpeakerImport readEaseSpeakersV2(std::string_view text, std::size_t existing) {
  EaseSpeakerImport out;
  std::vector<std::string_view> lines;
  for (std::string_view line : easeLines(text))
    if (!easeBlank(line)) lines.push_back(line);
  std::size_t count = existing;
  std::size_t i = 0;
  while (i < lines.size() && count < MAX_LOUDSPEAKERS) {
    PlacedSpeaker s = importedRecord();
    // A record starts with its position; anything else is passed over.
    if (!readPosition(lines[i], s)) {
      ++out.skippedLines;
      ++i;
      continue;
    }
    ++count;
    auto line = [&](std::size_t k) { return i + k < lines.size() ? lines[i + k] : ""; };
    if (i + 1 < lines.size() && !readAngles(line(1), s)) ++out.skippedLines;
    if (i + 2 < lines.size()) setTypeName(s, easeV2Name(line(2)));
    if (i + 3 < lines.size() && !readDelay(line(3), s)) ++out.skippedLines;
    double v[BAND_COUNT];
    if (i + 4 < lines.size()) {
      if (!readLevels(line(4), s)) ++out.skippedLines;
    }
    if (i + 5 < lines.size()) {
      if (readFloats(line(5), v, BAND_COUNT))
        setPowers(s, v);
      else
        ++out.skippedLines;
    }
    out.speakers.push_back(s);
    i += 6;
  }
  out.limitReached = count >= MAX_LOUDSPEAKERS;
  return out;
}

EaseSpeakerImport readEaseSpeakersV3(std::string_view text, std::size_t existing) {
  EaseSpeakerImport out;
  std::size_t count = existing;
  std::optional<PlacedSpeaker> s;
  for (std::string_view line : easeLines(text)) {
    if (easeComment(line) || easeKeyIs(line, "LengthUnit")) continue;
    if (easeKeyIs(line, "Label")) {
      if (s) out.speakers.push_back(*s);
      s.reset();
      if (count >= MAX_LOUDSPEAKERS) break;
      s = importedRecord();
      ++count;
      continue;
    }
    if (!s) continue;
    const std::string_view value = easeValueText(line);
    bool read = true;
    if (easeKeyIs(line, "Position")) {
      read = readPosition(value, *s);
    } else if (easeKeyIs(line, "Ver/Hor/Rot")) {
      read = readAngles(value, *s);
    } else if (easeKeyIs(line, "Speaker")) {
      setTypeName(*s, easeQuotedValue(line));
    } else if (easeKeyIs(line, "Delay/Align")) {
      read = readDelay(value, *s);
    } else if (easeKeyIs(line, "Watts")) {
      double v[EASE3_VALUES];
      read = readFloats(value, v, EASE3_VALUES);
      if (read) {
        double watts[BAND_COUNT];
        for (int b = 0; b < BAND_COUNT; ++b) watts[b] = v[b * THIRDS_PER_BAND + 1];
        setPowers(*s, watts);
      }
    }
    if (!read) ++out.skippedLines;
  }
  if (s) out.speakers.push_back(*s);
  out.limitReached = count >= MAX_LOUDSPEAKERS;
  return out;
}

bool findImportedSpeakerType(Project& project, const SpeakerDatabaseIndex& index,
                             PlacedSpeaker& speaker, UserMessage* message) {
  UserMessage m;
  const bool found = resolveSpeakerType(project, index, speaker, fixedString(speaker.group), &m);
  // "Not available" is the caller's to say: it may still ask the user.
  if (message && !(m.text == MSG_SPEAKER_NOT_AVAILABLE)) *message = m;
  return found;
}

ModelObject* enterImportedSpeaker(Project& project, PlacedSpeaker s, bool gainsFromPower) {
  const SpeakerType* type = speakerTypeOf(project, s);
  if (type == nullptr) return nullptr;
  s.switchedOn = 1;
  if (gainsFromPower) {
    for (int b = 0; b < BAND_COUNT; ++b) {
      const double w = s.electricalPower[b], pmax = type->maxPower[b];
      double g = 0.0;
      if (!(w > 0.0))
        g = LOWEST_GAIN_DB;
      else if (pmax > 0.0)
        g = std::clamp(gainAsShown(10.0 * std::log10(w / pmax)), LOWEST_GAIN_DB, 0.0);
      s.eqGain[b] = static_cast<float>(g);
    }
  }
  computeSpeakerPower(s, *type);
  setFixedString(s.group, "");
  return buildSpeakerDrawing(project, s, nullptr);
}

}  // namespace tav
