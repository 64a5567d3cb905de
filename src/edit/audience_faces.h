// Audience areas laid on room faces: a copy of a picked face raised by a
// listener height along the vertical.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

#include "model/model_object.h"
#include "model/units.h"

namespace tav {

constexpr std::uint32_t AUDIENCE_AREA_COLOUR = 21;
constexpr double AUDIENCE_HEIGHT_MAX = 10.0;  // in the entered unit
constexpr int AUDIENCE_HEIGHT_INPUT_LENGTH = 21;
inline constexpr const char* AUDIENCE_HEIGHT_PROMPT = "Height above room-face ( 0.0 .. 10.0 )";
inline constexpr const char* AUDIENCE_ON_FACES_COMMAND = "AUDIENCE AREAS ONTOP ROOM FACES  > ";

// The height typed by the user, in metres: a number 0..10 in the display
// unit (feet divided by 3.28084). Nothing for text that is not a number or
// a value outside 0..10.
std::optional<double> parseAudienceHeight(std::string_view text, const Units& units);

// The audience area over the face starting at IDX_START entry `startEntry`:
// one node per node entry of the face (start, lines, close) at the node's x
// and y and its z plus `height`; the face's entry codes in order with refs
// 0, 1, 2, ... and the material entry with ref 0; layer 1, shape 8, colour
// 21, flags OF_CREATED. Null when no closed face starts there.
std::unique_ptr<ModelObject> buildAudienceArea(const ModelObject& face, std::size_t startEntry,
                                               double height);

}  // namespace tav
