// The evaluated reflection results as the profile writers take them: the
// path objects (in time order) and the statistics of the ray display.
#pragma once

#include <span>
#include <vector>

#include "auralization/profile_builder.h"
#include "reflections/reflection_paths.h"

namespace tav {

class ObjectList;

// One entry per path object, in list order: its time and band energies and
// the direction target minus the node before the target.
std::vector<ProfilePath> profilePathsFrom(const ObjectList& objects);
// The same for path objects already picked out (those that are no whole path
// object are passed over).
std::vector<ProfilePath> profilePathsFrom(std::span<const ModelObject* const> paths);

// t_min, the max level, RT, Ld and Lr of the seven bands.
ProfileStats profileStatsFrom(const ReflectionStats& stats);

}  // namespace tav
