#include "auralization/ui/auralization_commands.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "auralization/processing_setup.h"
#include "auralization/profile_paths.h"
#include "auralization/realtime_playback.h"
#include "auralization/ui/profile_commands.h"
#include "model/message.h"
#include "model/save_file.h"
#include "model/text_encoding.h"
#include "platform/audio.h"
#include "reflections/ui/ray_display.h"
#include "shell/command_context.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"

namespace tav {

namespace {

// Wall time between two progress updates of "Process and Play", ms.
constexpr double PROCESS_PROGRESS_INTERVAL_MS = 100.0;

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

std::string folderOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

std::string processingTitle(std::size_t impulses) {
  return "Processing " + std::to_string(impulses) + " impulses...";
}

std::string percentText(double percent) {
  char text[32];
  std::snprintf(text, sizeof text, "%1.2f ", percent);
  return std::string(text) + "%";
}

// The profile for a run, or the dry impulse with its notice. False when the
// selected profile cannot be read (the message is shown).
bool setUpRun(CommandContext& ctx, float fs, bool realtime, ProcessingSetup& setup) {
  const AuralizationSettings& a = ctx.session().auralization;
  if (a.profilePath.empty()) {
    setup = dryProcessingSetup();
    ctx.ui().showMessage(MSG_NO_PROFILE, CAPTION_PLAYING_DRY);
    return true;
  }
  std::string error;
  if (!loadProcessingProfile(a.profilePath, fs, realtime, setup, error)) {
    ctx.ui().showMessage(error);
    return false;
  }
  return true;
}

void reportPlay(CommandContext& ctx, PlayResult result) {
  if (result == PlayResult::NoDevice)
    ctx.ui().showMessage(MSG_NO_SOUND_DEVICE, {}, MessageButtons::Ok, MessageIcon::Warning);
  else if (result == PlayResult::Unreadable)
    ctx.ui().showMessage(MSG_CANT_LOCATE_FILE);
}

void playRecording(CommandContext& ctx, const std::string& path) {
  AudioOutput& audio = ctx.platform().audio();
  audio.stopSound();
  if (path.empty()) return;
  reportPlay(ctx, audio.playFile(path));
}

// The output recording's name: the one from the profile, else asked for.
bool outputName(CommandContext& ctx) {
  AuralizationSettings& a = ctx.session().auralization;
  if (!a.outputPath.empty()) return true;
  FileDialogRequest request;
  request.filter = WAVE_INPUT_FILTER;
  request.defaultExtension = "WAV";
  request.folder = a.inputFolder;
  const std::optional<std::string> chosen = ctx.ui().saveFileName(request);
  if (!chosen) return false;
  a.outputPath = *chosen;
  return true;
}

}  // namespace

void loadAudioProfile(CommandContext& ctx) {
  AuralizationSettings& a = ctx.session().auralization;
  FileDialogRequest request;
  request.filter = AUDIO_PROFILE_OPEN_FILTER;
  request.defaultExtension = "TAP";
  request.folder = a.profileFolder;
  const std::optional<std::string> chosen = ctx.ui().openFileName(request);
  if (!chosen) return;
  const std::string path = withProfileExtension(*chosen);
  a.profileFolder = folderOf(path);
  const std::optional<std::vector<std::uint8_t>> bytes = readWholeFile(path);
  if (!bytes) return;
  const std::optional<AudioProfileHeader> header = decodeAudioProfileHeader(*bytes);
  if (!header) {
    ctx.ui().showMessage(MSG_INVALID_PROFILE);
    return;
  }
  const MessageResult answer = ctx.ui().showMessage(cp1252ToUtf8(header->description),
                                                    CAPTION_DESCRIPTION, MessageButtons::OkCancel);
  if (answer != MessageResult::Ok) return;
  a.profilePath = path;
  // The output recording is named after the profile: "NAME.WAV".
  a.outputPath = path.substr(0, path.size() - 3) + "WAV";
}

bool selectInputWave(CommandContext& ctx) {
  AuralizationSettings& a = ctx.session().auralization;
  FileDialogRequest request;
  request.filter = WAVE_INPUT_FILTER;
  request.defaultExtension = "wav";
  request.folder = a.inputFolder;
  const std::optional<std::string> chosen = ctx.ui().openFileName(request);
  if (!chosen) return false;
  a.inputFolder = folderOf(*chosen);
  const WaveInfo info = checkInputWave(*chosen);
  if (info.check != WaveCheck::Ok) {
    ctx.ui().showMessage(
        info.check == WaveCheck::WrongFormat ? MSG_WAVE_WRONG_FORMAT : MSG_WAVE_UNREADABLE, {},
        MessageButtons::Ok, MessageIcon::Warning);
    return false;
  }
  a.fs = static_cast<float>(info.rate);
  a.inputPath = *chosen;
  return true;
}

void processFile(CommandContext& ctx) {
  AuralizationSettings& a = ctx.session().auralization;
  if (a.busy) return;
  AuralizationBusy busy(a);
  if (a.inputPath.empty() && !selectInputWave(ctx)) return;
  ProcessingSetup setup;
  if (!setUpRun(ctx, a.fs, false, setup)) return;
  if (!outputName(ctx)) return;

  Interaction& ui = ctx.ui();
  ui.progressOpen(processingTitle(setup.impulses.size()), "0 %", "Cancel");
  double last = -PROCESS_PROGRESS_INTERVAL_MS;
  const WaveProcessResult result = processWaveFile(
      setup, a.fs, a.inputPath, a.outputPath, [&](std::int64_t done, std::int64_t total) {
        const double now = nowMs();
        if (now - last < PROCESS_PROGRESS_INTERVAL_MS) return false;
        last = now;
        const double percent = total > 0 ? done * 100.0 / total : 100.0;
        return ui.progressUpdate(static_cast<int>(percent), percentText(percent));
      });
  ui.progressClose();
  if (result.status == WaveProcessStatus::Cancelled) return;
  if (result.status != WaveProcessStatus::Completed) {
    ui.showMessage(waveProcessMessage(result.status), {}, MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  playRecording(ctx, a.outputPath);
}

void playInputFile(CommandContext& ctx) {
  playRecording(ctx, ctx.session().auralization.inputPath);
}

void playOutputFile(CommandContext& ctx) {
  playRecording(ctx, ctx.session().auralization.outputPath);
}

void playRealtime(CommandContext& ctx) {
  AuralizationSettings& a = ctx.session().auralization;
  if (a.busy) return;
  AuralizationBusy busy(a);
  if (a.inputPath.empty() && !selectInputWave(ctx)) return;
  // The real-time mode always runs at 22050 Hz; the file's own rate stays
  // the processing rate of "Process and Play".
  ProcessingSetup setup;
  if (!setUpRun(ctx, REALTIME_RATE, true, setup)) return;
  Interaction& ui = ctx.ui();
  WaveInfo info;
  std::unique_ptr<WaveFileReader> reader = WaveFileReader::open(a.inputPath, info);
  if (!reader) {
    ui.showMessage(
        info.check == WaveCheck::WrongFormat ? MSG_WAVE_WRONG_FORMAT : MSG_WAVE_UNREADABLE, {},
        MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  ctx.platform().audio().stopSound();
  std::unique_ptr<WaveOutput> device = ctx.platform().audio().openWaveOutput(
      static_cast<int>(REALTIME_RATE), realtimeBufferLength(REALTIME_RATE));
  if (!device) {
    ui.showMessage(MSG_NO_SOUND_DEVICE, {}, MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  ui.progressOpen("Processing  impulses...", "0 %", "Cancel");
  RealtimeCallbacks callbacks;
  callbacks.progress = [&](int percent) {
    return ui.progressUpdate(percent, std::to_string(percent) + " %");
  };
  callbacks.nowMs = nowMs;
  callbacks.tooSlow = [&] { ui.showMessage(MSG_SPEED_TOO_SLOW, CAPTION_SPEED_TOO_SLOW); };
  playRealtimeSamples(setup, info.rate, info.frames, *reader, *device, callbacks);
  ui.progressClose();
}

void registerAuralizationCommands(CommandRegistry& registry) {
  registry.add(CMD_SELECT_AUDIO_PROFILE, loadAudioProfile);
  registry.add(CMD_SELECT_WAV_INPUT, [](CommandContext& ctx) { selectInputWave(ctx); });
  registry.add(CMD_PROCESS_AND_PLAY, processFile);
  registry.add(CMD_PLAY_INPUT, playInputFile);
  registry.add(CMD_PLAY_OUTPUT, playOutputFile);
  registry.add(CMD_PLAY_REALTIME, playRealtime);
  // The ETC window's "APF" and "RTA" write the profile of the paths it shows.
  setRayProfileActions({
      [](CommandContext& ctx, const RayDisplayResults& r) {
        writeAudioProfile(ctx, profilePathsFrom(r.paths), profileStatsFrom(r.stats));
      },
      [](CommandContext& ctx, const RayDisplayResults& r) {
        writeRealtimeProfile(ctx, profilePathsFrom(r.paths), profileStatsFrom(r.stats));
      },
  });
}

}  // namespace tav
