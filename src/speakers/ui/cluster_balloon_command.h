// Command 1016 "Calculate Cluster Balloons": the selected loudspeakers'
// combined radiation computed under the progress window, described and
// saved as a one-type loudspeaker database.
#pragma once

namespace tav {

class CommandContext;

inline constexpr const char* CLUSTER_PROGRESS_TITLE = "Calculation Status :";
inline constexpr const char* CLUSTER_DATABASE_FILTER = "*.TSB|*.tsb|";

void buildClusterBalloons(CommandContext& ctx);

}  // namespace tav
