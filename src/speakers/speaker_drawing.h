// The drawing of a placed loudspeaker: its type's shape turned and moved
// into place, and the angles read back from a drawing's direction nodes.
#pragma once

#include "model/vec3.h"
#include "speakers/placed_speaker.h"

namespace tav {

class Project;

// Angles of at most this magnitude are not applied to a drawing (rad).
constexpr double DRAWING_ANGLE_EPSILON = 1e-6;

// World image of a point given in the loudspeaker's local frame: rotation
// about the main axis, then elevation, then azimuth, then the position.
// The exact inverse of toSpeakerFrame for angles beyond its threshold.
Vec3d speakerToWorld(const PlacedSpeaker& speaker, const Vec3d& local);

// Geometry only: `object` receives the shape's nodes (direction nodes
// included, so the last two are the world images of (1,0,0) and (0,0,1))
// and entries; layer 2, SHAPE_SOLID, flags 0, colour by the switch, data =
// the record.
void speakerDrawingGeometry(const PlacedSpeaker& speaker, const ModelObject& shape,
                            ModelObject& object);

// (Re)builds the loudspeaker object of a record and links it at the head of
// the list. `existing` (a loudspeaker object of the list, or null for a new
// one) is unlinked and rebuilt; the object's observers are told. Returns the
// linked object, or null when a new object cannot be allocated.
ModelObject* buildSpeakerDrawing(Project& project, const PlacedSpeaker& speaker,
                                 ModelObject* existing);

struct SpeakerAngles {
  double horizontal = 0, vertical = 0, rotation = 0;
};

// Angles of a drawing from its last two nodes and the record's position.
// The rotation is measured after undoing both the azimuth and the elevation,
// so it is exact also for tilted loudspeakers.
SpeakerAngles anglesFromDirectionNodes(const ModelObject& object, const PlacedSpeaker& speaker);

}  // namespace tav
