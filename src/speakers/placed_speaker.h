// A loudspeaker placed in the project: the 152-byte data block of a layer-2
// object (position, aiming, switch, polarity, delay, equalizer and the power
// figures derived from them, and the index of its type in the project).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "model/model_object.h"
#include "model/vec3.h"
#include "speakers/speaker_type.h"

namespace tav {

constexpr std::size_t PLACED_SPEAKER_SIZE = 152;
// Colours of a loudspeaker drawing.
constexpr std::uint32_t SPEAKER_COLOUR_ON = 12;
constexpr std::uint32_t SPEAKER_COLOUR_OFF = 0;
// At most this many loudspeaker objects in a project.
constexpr std::size_t MAX_LOUDSPEAKERS = 5000;
// An equalizer gain at or below this switches its band off (dB).
constexpr double EQ_BAND_OFF_DB = -50.0;
// Gain of every band when a type is chosen (dB).
constexpr float EQ_DEFAULT_GAIN_DB = -9.0f;

struct PlacedSpeaker {
  char name[11] = {};           // upper case, at most 10 characters
  char group[11] = {};          // upper case; carries an imported type name until resolved
  std::int16_t switchedOn = 1;  // bit 0
  std::int16_t polarity = 1;    // +1 or -1
  float nominalPower = 1.0f;    // W; used for bands whose maximum power is below 0.1 W
  std::array<float, BAND_COUNT> eqGain{};           // dB, relative to maximum power
  std::array<float, BAND_COUNT> electricalPower{};  // W, derived
  std::array<float, BAND_COUNT> acousticFactor{};   // F_b = W_b * 10^(S_b/10), derived
  float delay = 0;                                  // ms
  Node position;                                    // reference point, metres
  float horizontal = 0;                             // rad, main axis azimuth from +x towards +y
  float vertical = 0;                               // rad, elevation of the main axis
  float rotation = 0;                               // rad, about the main axis
  std::int16_t typeIndex = 0;                       // position in the project's speaker types
  // Offset 144 holds a run-time pointer in the stored layout: written 0, ignored.
  std::uint32_t reserved148 = 0;  // kept as read

  bool isOn() const { return (switchedOn & 1) != 0; }
  Vec3d pos() const { return toVec(position); }

  // Field by field from / to the 152-byte little-endian block. A block
  // shorter than 152 bytes yields nullopt (read) or false (write).
  static std::optional<PlacedSpeaker> read(std::span<const std::uint8_t> block);
  bool write(std::span<std::uint8_t> block) const;

  friend bool operator==(const PlacedSpeaker&, const PlacedSpeaker&) = default;
};

// A new loudspeaker at a point: zeroed, switched on, polarity +1, nominal
// power 1 W, angles 0.
PlacedSpeaker newPlacedSpeaker(const Vec3d& at);

// True for a loudspeaker object: layer 2 with a data block of a record.
bool isLoudspeakerObject(const ModelObject& object);

// The record of a loudspeaker object (nullopt for any other object).
std::optional<PlacedSpeaker> speakerOf(const ModelObject& object);
// Stores the record into the object's data block (resized to 152 bytes).
void storeSpeaker(ModelObject& object, const PlacedSpeaker& speaker);

}  // namespace tav
