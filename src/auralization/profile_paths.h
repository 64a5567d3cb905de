// The evaluated reflection results as the profile writers take them: the
// path objects (in time order) and the statistics of the ray display.
#pragma once

#include <vector>

#include "auralization/profile_builder.h"
#include "reflections/reflection_paths.h"

namespace tav {

class ObjectList;

// One entry per path object, in list order: its time and band energies and
// the direction target minus the node before the target.
std::vector<ProfilePath> profilePathsFrom(const ObjectList& objects);

// t_min, the max level, RT, Ld and Lr of the seven bands.
ProfileStats profileStatsFrom(const ReflectionStats& stats);

}  // namespace tav
