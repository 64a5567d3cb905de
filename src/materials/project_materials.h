// The project's material table: taking a database record into it, freeing
// the slots no room face uses any more, and the default table of a new
// project. Faces store only a slot number (their IDX_MATERIAL entry), so a
// project stays complete without the database it took its materials from.
#pragma once

#include "materials/absorber_material.h"

namespace tav {

class ObjectList;
class Project;

// Slot number of the default material "100%" that every newly drawn face
// refers to.
constexpr int DEFAULT_MATERIAL_SLOT = 0;

// Copies a database record into the project and returns its slot, or -1.
// A live slot with exactly the same name (case counts) is returned as it is:
// its stored coefficients are not refreshed. Otherwise the record goes whole
// into the highest free slot, or is appended while the table has room
// (MAX_MATERIALS). -1 when the table is full, and for a record without a name
// (an empty name marks a free slot and could never be told apart from one).
int addMaterialToProject(ProjectMaterials& materials, const AbsorberMaterial& record);

// Frees every slot that no face of a room-layer object with faces refers to
// (first name byte set to NUL; the other bytes stay, so an old reference
// still reads its coefficients). References at or beyond the count are
// ignored, the count itself never shrinks. Slot 0 is never freed: new faces
// refer to it before any material is assigned, so reusing it would silently
// change their material.
void releaseUnusedMaterials(const ObjectList& objects, ProjectMaterials& materials);
void releaseUnusedMaterials(Project& project);

// The material table of a new project (slot 0 "100%", count 1) and the seven
// measured reverberation times set to 0.
void resetProjectMaterials(Project& project);

}  // namespace tav
