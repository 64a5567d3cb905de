// Small pieces the editing commands share.
#pragma once

#include <span>
#include <vector>

#include "model/model_object.h"
#include "model/vec3.h"
#include "shell/command_context.h"

namespace tav {

// Every command ends so: all objects deselected, the picture rebuilt.
void endEdit(CommandContext& ctx);

// The selected objects in list order (pointers stay valid while no object
// is freed).
std::vector<ModelObject*> selectedObjects(Project& project);

// Replaces `old` (an object of the list) by `object` at its place.
ModelObject* replaceObject(Project& project, ModelObject* old, std::unique_ptr<ModelObject> object);

inline Vec3d basePoint(CommandContext& ctx) { return toVec(ctx.input().base); }
inline Vec3d currentPoint(CommandContext& ctx) { return toVec(ctx.input().current); }

// "Basepoint :" after the object selection; false (everything deselected
// and redrawn) unless a point was given.
bool selectAndAskBase(CommandContext& ctx);

// Move Nodes applied to the model: each listed node of an object still in
// `objects` moves once by current - base; references to nodes beyond an
// object's count are skipped. The changed objects are compacted (nodes
// moved onto others become one), except texts, which keep one node per entry
// (their dots are strokes of length zero). Returns whether anything changed.
bool moveListedNodes(const ObjectList& objects, std::span<const SelectedNode> list,
                     const Node& base, const Node& current);

}  // namespace tav
