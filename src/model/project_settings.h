// Settings a project file carries in its header.
#pragma once

#include <array>
#include <cstdint>

namespace tav {

// Reverberation-time methods.
constexpr std::int8_t RT_SABINE = 0;
constexpr std::int8_t RT_EYRING = 1;
constexpr std::int8_t RT_FITZROY = 2;
constexpr std::int8_t RT_MEASUREMENT = 3;

// Views.
constexpr std::int16_t VIEW_XY = 0;
constexpr std::int16_t VIEW_YZ = 1;
constexpr std::int16_t VIEW_XZ = 2;
constexpr std::int16_t VIEW_3D = 3;
constexpr std::int16_t VIEW_PERSPECTIVE = 4;

// Options of the level and time calculation and of the map display
// (12 bytes: six signed 16-bit fields in this order).
struct CalculationOptions {
  std::int16_t displayMode = 0;
  std::int16_t scaleStep = -1;     // -1 = Auto
  std::int16_t gridIndex = 2;      // -1 = Minimum, 0..7 = 0.25 .. 50 m
  std::int16_t band = 7;           // kept and stored
  std::int16_t phaseRelation = 2;  // 1 Energy, 2 Octave Bandwidth, 3 Single Frequency
  std::int16_t includeRoom = 0;    // bit 0 Shading, bit 1 first reflection
  friend bool operator==(const CalculationOptions&, const CalculationOptions&) = default;
};
constexpr std::size_t CALCULATION_OPTIONS_SIZE = 12;

struct ProjectSettings {
  std::int8_t rtMethod = RT_SABINE;
  std::int16_t view = VIEW_3D;
  float cursorSnap = 0.5f;  // metres
  bool cursorSnapOn = true;
  float nodeSnapWidth = 10.0f;  // pixels, 1..100
  bool nodeSnapOn = false;
  std::array<float, 7> measuredRT{};  // seconds, 125 Hz first
  float gridSize = 1.0f;              // metres
  CalculationOptions calculation;
  friend bool operator==(const ProjectSettings&, const ProjectSettings&) = default;
};

}  // namespace tav
