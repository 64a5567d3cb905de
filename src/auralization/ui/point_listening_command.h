// Listening at a point of the map window: its right click hands over the
// point and the Ld-Lr value there, and the user hears the dry recording as
// it would sound at that point, in real time.
#pragma once

#include "model/vec3.h"

namespace tav {

class CommandContext;

// A quick image-source search at `point`, then the real-time profile with
// the reverberant-to-direct ratio 10^(-ldMinusLrDb / 10) in every band,
// played at once ("RTA"). Does nothing while an auralization is running.
void auralizeAtPoint(CommandContext& ctx, const Vec3d& point, double ldMinusLrDb);

}  // namespace tav
