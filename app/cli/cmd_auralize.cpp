// taviron-cli auralize --profile P.TAP --in IN.wav --out OUT.wav: the
// "Process and Play" result without playing; without --profile the dry pass
// through the band filters.
#include <chrono>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "auralization/processing_setup.h"
#include "cli_command.h"
#include "platform/audio.h"

namespace tav::cli {

namespace {

int runAuralize(const std::string& profilePath, const std::string& in, const std::string& out) {
  // The processing rate is the input's own rate, as after "Select WAV Input File".
  const WaveInfo info = checkInputWave(in);
  if (info.check != WaveCheck::Ok) {
    printError(info.check == WaveCheck::WrongFormat ? MSG_WAVE_WRONG_FORMAT : MSG_WAVE_UNREADABLE);
    return EXIT_FILE_ERROR;
  }
  const float fs = static_cast<float>(info.rate);
  ProcessingSetup setup = dryProcessingSetup();
  if (!profilePath.empty()) {
    std::string error;
    if (!loadProcessingProfile(profilePath, fs, false, setup, error)) {
      printError(error);
      return EXIT_FILE_ERROR;
    }
  }
  const auto start = std::chrono::steady_clock::now();
  const WaveProcessResult result = processWaveFile(setup, fs, in, out, {});
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (result.status != WaveProcessStatus::Completed) {
    printError(waveProcessMessage(result.status));
    return EXIT_FILE_ERROR;
  }
  const double audioSeconds =
      result.outputRate > 0 ? static_cast<double>(result.report.samples) / result.outputRate : 0.0;
  nlohmann::json json;
  json["impulses"] = setup.impulses.size();
  json["inputRate"] = result.input.rate;
  json["outputRate"] = result.outputRate;
  json["samples"] = result.report.samples;
  json["reduced"] = result.report.reduced;
  json["seconds"] = seconds;
  json["realtimeFactor"] = seconds > 0 ? audioSeconds / seconds : 0.0;
  std::cout << json.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "auralize",
    "Process a dry 16-bit mono WAV recording with an audio profile (.TAP), as JSON",
    [](CLI::App& app) {
      auto profile = std::make_shared<std::string>();
      auto in = std::make_shared<std::string>();
      auto out = std::make_shared<std::string>();
      app.add_option("--profile", *profile, "Audio profile (.TAP); none: band filters only");
      app.add_option("--in", *in, "Dry recording (16-bit mono PCM WAV)")->required();
      app.add_option("--out", *out, "Processed recording to write (WAV)")->required();
      return std::function<int()>([=] { return runAuralize(*profile, *in, *out); });
    },
}};

}  // namespace

}  // namespace tav::cli
