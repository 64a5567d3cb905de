#include "speakers/placed_speaker.h"

#include <cstring>

#include "model/le_io.h"

namespace tav {

namespace {

template <std::size_t N>
void readFloats(LeReader& in, std::array<float, N>& out) {
  for (float& v : out) v = in.f32();
}
template <std::size_t N>
void writeFloats(LeWriter& out, const std::array<float, N>& in) {
  for (float v : in) out.f32(v);
}

}  // namespace

std::optional<PlacedSpeaker> PlacedSpeaker::read(std::span<const std::uint8_t> block) {
  if (block.size() < PLACED_SPEAKER_SIZE) return std::nullopt;
  LeReader in(block.first(PLACED_SPEAKER_SIZE));
  PlacedSpeaker s;
  in.chars(s.name);
  in.chars(s.group);
  // The text fields must end within their width; a damaged block is cut.
  s.name[10] = '\0';
  s.group[10] = '\0';
  s.switchedOn = in.i16();
  s.polarity = in.i16();
  s.nominalPower = in.f32();
  readFloats(in, s.eqGain);
  readFloats(in, s.electricalPower);
  readFloats(in, s.acousticFactor);
  s.delay = in.f32();
  s.position.x = in.f32();
  s.position.y = in.f32();
  s.position.z = in.f32();
  s.horizontal = in.f32();
  s.vertical = in.f32();
  s.rotation = in.f32();
  s.typeIndex = in.i16();
  in.u32();  // owner pointer: no meaning outside the running program
  s.reserved148 = in.u32();
  if (!in.ok()) return std::nullopt;
  return s;
}

bool PlacedSpeaker::write(std::span<std::uint8_t> block) const {
  if (block.size() < PLACED_SPEAKER_SIZE) return false;
  LeWriter out;
  out.reserve(PLACED_SPEAKER_SIZE);
  out.chars(name);
  out.chars(group);
  out.i16(switchedOn);
  out.i16(polarity);
  out.f32(nominalPower);
  writeFloats(out, eqGain);
  writeFloats(out, electricalPower);
  writeFloats(out, acousticFactor);
  out.f32(delay);
  out.f32(position.x);
  out.f32(position.y);
  out.f32(position.z);
  out.f32(horizontal);
  out.f32(vertical);
  out.f32(rotation);
  out.i16(typeIndex);
  out.u32(0);
  out.u32(reserved148);
  std::memcpy(block.data(), out.buffer().data(), PLACED_SPEAKER_SIZE);
  return true;
}

PlacedSpeaker newPlacedSpeaker(const Vec3d& at) {
  PlacedSpeaker s;
  s.position = toNode(at);
  return s;
}

bool isLoudspeakerObject(const ModelObject& object) {
  return object.layer == LAYER_SPEAKERS && object.data.size() >= PLACED_SPEAKER_SIZE;
}

std::optional<PlacedSpeaker> speakerOf(const ModelObject& object) {
  if (!isLoudspeakerObject(object)) return std::nullopt;
  return PlacedSpeaker::read(object.data);
}

void storeSpeaker(ModelObject& object, const PlacedSpeaker& speaker) {
  if (object.data.size() < PLACED_SPEAKER_SIZE) object.data.resize(PLACED_SPEAKER_SIZE, 0);
  speaker.write(object.data);
}

}  // namespace tav
