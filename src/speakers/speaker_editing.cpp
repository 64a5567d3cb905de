#include "speakers/speaker_editing.h"

#include <algorithm>
#include <cmath>

#include "speakers/speaker_drawing.h"

namespace tav {

std::optional<UserMessage> checkSpeakerLimit(std::size_t existing, std::size_t adding) {
  if (existing + adding > MAX_LOUDSPEAKERS)
    return UserMessage{MSG_TOO_MANY_SPEAKERS, CAPTION_TOO_MANY_SPEAKERS};
  return std::nullopt;
}

std::optional<UserMessage> checkMirrorLimit(std::size_t existing, std::size_t selected) {
  if (auto m = checkSpeakerLimit(existing, std::max<std::size_t>(selected, 1))) return m;
  if (existing + selected >= MAX_LOUDSPEAKERS)
    return UserMessage{MSG_INSUFFICIENT_MEMORY_SHORT, ""};
  return std::nullopt;
}

bool fitsCopyBuffer(std::span<const ModelObject* const> selected) {
  std::size_t total = 0;
  for (const ModelObject* o : selected) total += snapshotSize(*o);
  return total <= MAX_COPY_BYTES;
}

double dialogDegreesToRadians(double degrees) {
  if (degrees > 180)
    degrees -= 360;
  else if (degrees < -180)
    degrees += 360;
  return degrees * 0.017453292522222223;
}

bool dialogAngleAcceptable(double degrees) {
  return std::fabs(degrees) <= SPEAKER_ANGLE_ENTRY_LIMIT;
}

double radiansToDialogDegrees(double radians) { return radians * 180.0 / 3.141592654; }

std::string commasToPoints(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

PlacedSpeaker copiedSpeaker(const PlacedSpeaker& source, const Vec3d& displacement) {
  PlacedSpeaker copy = source;
  copy.name[0] = '\0';
  copy.group[0] = '\0';
  copy.position = toNode(source.pos() + displacement);
  return copy;
}

Vec3d mirrorSpeakerPosition(const Vec3d& s, const Vec3d& p1, const Vec3d& p2, MirrorPlane plane) {
  double Vec3d::*u = &Vec3d::x;
  double Vec3d::*w = &Vec3d::y;
  if (plane == MirrorPlane::YZ) {
    u = &Vec3d::y;
    w = &Vec3d::z;
  } else if (plane == MirrorPlane::XZ) {
    w = &Vec3d::z;
  }
  const double du = p2.*u - p1.*u, dw = p2.*w - p1.*w;
  const double norm = du * du + dw * dw;
  if (!(norm > 1e-6)) return s;
  const double t = 2 * ((p1.*w - s.*w) * du - (p1.*u - s.*u) * dw) / norm;
  Vec3d m = s;
  m.*u = s.*u - dw * t;
  m.*w = s.*w + du * t;
  return m;
}

void reverseAllFaces(ModelObject& o) {
  std::vector<IndexEntry>& e = o.indices;
  for (std::size_t i = 0; i < e.size(); ++i) {
    if (e[i].code != IDX_START) continue;
    std::size_t first = i + 1;
    if (first < e.size() && e[first].code == IDX_MATERIAL) ++first;
    std::size_t close = first;
    while (close < e.size() && e[close].code != IDX_CLOSE && e[close].code != IDX_START) ++close;
    if (close >= e.size() || e[close].code != IDX_CLOSE) continue;  // open figure
    // Node numbers from `first` to `close` reversed in place; codes stay.
    for (std::size_t a = first, b = close; a < b; ++a, --b) std::swap(e[a].ref, e[b].ref);
    i = close;
  }
}

void finishMirroredSpeaker(ModelObject& copy, const PlacedSpeaker& source, const Vec3d& p1,
                           const Vec3d& p2, MirrorPlane plane) {
  PlacedSpeaker s = copiedSpeaker(source, {});
  s.position = toNode(mirrorSpeakerPosition(source.pos(), p1, p2, plane));
  const SpeakerAngles a = anglesFromDirectionNodes(copy, s);
  s.horizontal = static_cast<float>(a.horizontal);
  s.vertical = static_cast<float>(a.vertical);
  s.rotation = static_cast<float>(a.rotation);
  storeSpeaker(copy, s);
  reverseAllFaces(copy);
}

}  // namespace tav
