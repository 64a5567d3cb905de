// Display units. Values are stored in metric units; with feet selected they
// are converted for display and input only.
#pragma once

namespace tav {

constexpr double FEET_PER_METRE = 3.28084;
constexpr double SQFT_PER_SQM = 10.76391;
constexpr double CUFT_PER_CUM = 35.31467;
constexpr double CM_PER_INCH = 2.54;
constexpr double SQCM_PER_SQIN = 6.4516;
constexpr double LB_PER_KG = 2.204622;

struct Units {
  bool feet = false;  // "1 Unit = 1 &ft"

  double lengthToDisplay(double metres) const { return feet ? metres * FEET_PER_METRE : metres; }
  double lengthFromInput(double value) const { return feet ? value / FEET_PER_METRE : value; }
  double areaToDisplay(double sqm) const { return feet ? sqm * SQFT_PER_SQM : sqm; }
  double areaFromInput(double value) const { return feet ? value / SQFT_PER_SQM : value; }
  double volumeToDisplay(double cum) const { return feet ? cum * CUFT_PER_CUM : cum; }
  double volumeFromInput(double value) const { return feet ? value / CUFT_PER_CUM : value; }
  // Centimetres <-> inches (and square centimetres <-> square inches).
  double cmToDisplay(double cm) const { return feet ? cm / CM_PER_INCH : cm; }
  double cmFromInput(double value) const { return feet ? value * CM_PER_INCH : value; }
  double sqcmToDisplay(double sqcm) const { return feet ? sqcm / SQCM_PER_SQIN : sqcm; }
  double sqcmFromInput(double value) const { return feet ? value * SQCM_PER_SQIN : value; }
  // Kilograms <-> pounds.
  double massToDisplay(double kg) const { return feet ? kg * LB_PER_KG : kg; }
  double massFromInput(double value) const { return feet ? value / LB_PER_KG : value; }
};

}  // namespace tav
