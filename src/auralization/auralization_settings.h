// The auralization's state between commands: the current profile, the input
// and output recordings, the folders the dialogs start in, the processing
// rate and the busy flag that keeps a second run out while one is active.
#pragma once

#include <string>

namespace tav {

constexpr float DEFAULT_PROCESSING_RATE = 22050.0f;

struct AuralizationSettings {
  std::string profilePath;  // empty: no profile selected (plays "dry")
  std::string inputPath;    // the dry recording
  std::string outputPath;   // the processed recording (from the profile name)
  std::string profileFolder;
  std::string inputFolder;
  float fs = DEFAULT_PROCESSING_RATE;  // the input's rate once one is selected
  bool busy = false;
};

// Marks the settings busy for one scope.
class AuralizationBusy {
 public:
  explicit AuralizationBusy(AuralizationSettings& settings) : settings_(settings) {
    settings_.busy = true;
  }
  ~AuralizationBusy() { settings_.busy = false; }
  AuralizationBusy(const AuralizationBusy&) = delete;
  AuralizationBusy& operator=(const AuralizationBusy&) = delete;

 private:
  AuralizationSettings& settings_;
};

}  // namespace tav
