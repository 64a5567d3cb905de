// Command 2502: the "Face Listing" dialog. Every room face with its area and
// material; the absorption of the selected face, of its material and of the
// room; changing one face's material or a material on all its faces; and the
// "Room Faces Summary" printout. The selected face is marked in the view.
#pragma once

#include "platform/dialog.h"
#include "shell/command_ids.h"

namespace tav {

class CommandContext;

inline constexpr const char* FACE_LISTING_TITLE = "Face Listing";

// Control ids.
constexpr int FL_LIST = 101;
constexpr int FL_CHANGE_MATERIAL = 102;
constexpr int FL_REPLACE_MATERIAL = 103;
constexpr int FL_QUIT = 104;
constexpr int FL_PRINT = 105;
constexpr int FL_FACE_FIRST = 201;  // 201..207 area × α per band
constexpr int FL_FACE_AREA = 208;
constexpr int FL_FACE_SHARE = 209;
constexpr int FL_MATERIAL_FIRST = 301;  // 301..307 the material's absorption
constexpr int FL_MATERIAL_AREA = 308;
constexpr int FL_MATERIAL_SHARE = 309;
constexpr int FL_TOTAL_FIRST = 401;  // 401..407 the room's absorption
constexpr int FL_TOTAL_AREA = 501;

// The marker line from the selected face: Room layer, this colour.
constexpr int FACE_MARKER_COLOUR = 22;

DialogTemplate faceListingTemplate();

void runFaceListing(CommandContext& ctx);

}  // namespace tav
