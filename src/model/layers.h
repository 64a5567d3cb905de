// The 32 layers: their records, defaults and the rule by which a command
// number chooses the current layer and colour.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "model/model_object.h"

namespace tav {

// 24 bytes in files: name char[22], visible i16 (1 on, 0 off).
struct LayerRecord {
  char name[22] = {};
  std::int16_t visible = 0;
  friend bool operator==(const LayerRecord&, const LayerRecord&) = default;
};
constexpr std::size_t LAYER_RECORD_SIZE = 24;
// Only the first 16 layer records are stored in files and snapshots.
constexpr int STORED_LAYER_COUNT = 16;

using LayerTable = std::array<LayerRecord, LAYER_COUNT>;

// "LAYER 1" .. "LAYER 32"; layers 0, 1 and 2 on, all others off.
LayerTable defaultLayers();

// Layer and colour chosen by a menu command number, and whether the command
// also makes that layer the node-snap layer.
struct CommandLayer {
  std::uint32_t layer;
  std::uint32_t colour;
  bool setsNodeSnapLayer;
};
// 1000..1999 layer 2 colour 27; 2000..2999 layer 0 colour 0; 3000..3999
// layer 1 colour 21 (node-snap layer unchanged); 4000..4999 layer 7 colour 14.
std::optional<CommandLayer> layerForCommand(int command);

// Default drawing colour of each layer (as a loaded object gets it).
std::uint32_t defaultLayerColour(std::uint32_t layer);

}  // namespace tav
