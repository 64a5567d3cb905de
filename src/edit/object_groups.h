// Build Group and Split Group over the selected objects of a list.
#pragma once

#include <cstdint>

#include "model/object_list.h"

namespace tav {

// With at least two selected objects: a SHAPE_GROUP_BEGIN object (layer of
// the first selected object) goes before the first selected object and a
// SHAPE_GROUP_END object (`currentLayer`) after the last; then the begin
// marker, the selected objects in list order and the end marker move
// together to the head of the list. False (list unchanged) with fewer than
// two selected objects.
bool buildGroup(ObjectList& list, std::uint32_t currentLayer);

// Removes the first group-begin marker among the selected objects (a group
// whose marker or any member is selected) and the end marker that balances
// it; the members stay. False when there is no such complete group.
bool splitGroup(ObjectList& list);

}  // namespace tav
