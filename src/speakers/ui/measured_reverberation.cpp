#include "shell/command_context.h"
#include "speakers/ui/equalizer_dialog.h"

namespace tav {

bool editMeasuredReverberation(CommandContext& ctx, std::array<float, BAND_COUNT>& seconds) {
  std::array<double, BAND_COUNT> values{};
  for (int b = 0; b < BAND_COUNT; ++b) values[b] = seconds[b];
  if (!equalizerDialog(ctx.platform(), values, EQ_MODE_REVERB_TIME)) return false;
  for (int b = 0; b < BAND_COUNT; ++b) seconds[b] = static_cast<float>(values[b]);
  return true;
}

}  // namespace tav
