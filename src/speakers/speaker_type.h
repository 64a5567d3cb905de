// A loudspeaker type: manufacturer data and the directivity balloon, as one
// 19 160-byte record in databases and project files.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "model/octave_bands.h"

namespace tav {

struct ModelObject;

constexpr std::size_t SPEAKER_TYPE_SIZE = 19160;
constexpr std::size_t SPEAKER_HEAD_SIZE = 512;  // header part before the grids
constexpr std::size_t OLD_SPEAKER_HEAD_SIZE = 200;
constexpr int DIRECTIVITY_ROWS = 37;      // polar angle 0..180 in 5-degree steps
constexpr int OLD_DIRECTIVITY_ROWS = 36;  // older layout: 0..175
constexpr int DIRECTIVITY_COLUMNS = 72;   // azimuth 0..355 in 5-degree steps
constexpr std::size_t DIRECTIVITY_BAND_SIZE = DIRECTIVITY_ROWS * DIRECTIVITY_COLUMNS;  // 2664
constexpr std::size_t OLD_DIRECTIVITY_BAND_SIZE =
    OLD_DIRECTIVITY_ROWS * DIRECTIVITY_COLUMNS;  // 2592
constexpr std::size_t OLD_SPEAKER_TYPE_SIZE =
    OLD_SPEAKER_HEAD_SIZE + BAND_COUNT * OLD_DIRECTIVITY_BAND_SIZE;  // 18344
constexpr std::uint8_t SPEAKER_LAYOUT_CURRENT = 2;
constexpr std::uint8_t DIRECTIVITY_CODE_0DB = 225;  // (code - 225) / 5 dB

// One band's balloon: row = polar angle / 5 deg, column = azimuth / 5 deg.
struct DirectivityGrid {
  std::array<std::uint8_t, DIRECTIVITY_BAND_SIZE> codes{};
  std::uint8_t at(int row, int column) const { return codes[row * DIRECTIVITY_COLUMNS + column]; }
  std::uint8_t& at(int row, int column) { return codes[row * DIRECTIVITY_COLUMNS + column]; }
  friend bool operator==(const DirectivityGrid&, const DirectivityGrid&) = default;
};

struct SpeakerType {
  char brand[21] = {};
  char name[9] = {};  // the key placed loudspeakers refer to
  char description[41] = {};
  std::uint8_t layoutFlag = SPEAKER_LAYOUT_CURRENT;
  std::uint16_t clusterMark = 0;  // 1 for a computed cluster
  std::uint8_t reserved74[2] = {};
  std::array<float, BAND_COUNT> sensitivity{};  // dB at 1 m for 1 W
  std::array<float, BAND_COUNT> maxPower{};     // W
  std::uint8_t reserved132[14] = {};
  std::array<std::uint16_t, BAND_COUNT> directivityFactor{};  // Q x 10
  std::array<std::uint16_t, BAND_COUNT> efficiency{};         // per mille
  std::uint8_t reserved174[14] = {};
  // Offsets 188..195 hold run-time pointers in the original layout; they are
  // written as zero and ignored on reading.
  std::int32_t shapeReference = 0;  // shape size (database) or shape ordinal (project)
  std::uint8_t reserved200[254] = {};
  std::uint32_t checksum = 0;
  std::uint32_t tailCheck = 0;
  std::array<std::uint8_t, 50> tail{};  // bytes 470..489 of the record: the record key
  std::array<DirectivityGrid, BAND_COUNT> grids{};

  // Run time: the type's drawing model (a layer-3 object of the project's
  // list), or null for the program's default shape.
  ModelObject* shape = nullptr;

  friend bool operator==(const SpeakerType& a, const SpeakerType& b);
};

// The plain (unscrambled) 19 160-byte form, field by field.
void encodeSpeakerType(const SpeakerType& type, std::span<std::uint8_t, SPEAKER_TYPE_SIZE> out);
SpeakerType decodeSpeakerType(std::span<const std::uint8_t, SPEAKER_TYPE_SIZE> in);

// An omnidirectional 0 dB type: header zero, Q factors 1, every code 225.
SpeakerType resetSpeakerType();

// Converts an older record (200-byte head and seven 36-row bands) to the
// current layout: row 36 repeats row 35, layoutFlag becomes 2.
// `markAt` is the offset that receives the text "TAVIRON V2.80  " (200 for a
// project's embedded type, 470 for a database record).
std::vector<std::uint8_t> convertOldSpeakerRecord(std::span<const std::uint8_t> oldRecord,
                                                  std::size_t markAt);

// Project's table of embedded types (at most 500).
constexpr std::size_t MAX_PROJECT_SPEAKER_TYPES = 500;
using ProjectSpeakerTypes = std::vector<std::unique_ptr<SpeakerType>>;

}  // namespace tav
