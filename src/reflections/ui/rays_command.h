// "Calculate Rays" (5020) and "Load Ray File" (5021).
#pragma once

namespace tav {

class CommandContext;
class CommandRegistry;

// Asks for the maximum order and the target point, searches under the
// progress window, shows the results and offers to store them.
void runCalculateRays(CommandContext& ctx);
// Reads a ray file and shows its paths.
void runLoadRayFile(CommandContext& ctx);
// After a search: "Store ray calculation to file ?", the file and its
// description. The path objects stay in the model.
void storeRayFile(CommandContext& ctx, double meanFreePath);

void registerReflectionCommands(CommandRegistry& registry);

}  // namespace tav
