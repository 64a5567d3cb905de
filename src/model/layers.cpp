#include "model/layers.h"

#include <string>

#include "model/le_io.h"

namespace tav {

LayerTable defaultLayers() {
  LayerTable layers{};
  for (int n = 0; n < LAYER_COUNT; ++n) {
    setFixedString(layers[n].name, "LAYER " + std::to_string(n + 1));
    layers[n].visible = n <= 2 ? 1 : 0;
  }
  return layers;
}

std::optional<CommandLayer> layerForCommand(int command) {
  if (command >= 1000 && command <= 1999) return CommandLayer{LAYER_SPEAKERS, 27, true};
  if (command >= 2000 && command <= 2999) return CommandLayer{LAYER_ROOM, 0, true};
  // Audience-area commands snap to whatever layer the user snapped to before.
  if (command >= 3000 && command <= 3999) return CommandLayer{LAYER_AUDIENCE, 21, false};
  if (command >= 4000 && command <= 4999) return CommandLayer{LAYER_AUX, 14, true};
  return std::nullopt;
}

std::uint32_t defaultLayerColour(std::uint32_t layer) {
  switch (layer) {
    case LAYER_AUDIENCE:
      return 21;
    case LAYER_SPEAKERS:
      return 12;  // a switched-on loudspeaker; switched off it is drawn in 0
    case LAYER_AIM_LINES:
      return 22;
    case LAYER_AUX:
      return 14;
    case LAYER_GRID:
      return 5;
    default:
      return 0;
  }
}

}  // namespace tav
