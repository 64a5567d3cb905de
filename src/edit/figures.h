// The figures of an object's drawing program, read as vertex lists, and the
// writing of faces back as entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/model_object.h"

namespace tav {

// One figure: an IDX_START entry and what follows up to its IDX_CLOSE entry
// (closed) or up to the next IDX_START or the end (open).
struct Figure {
  std::size_t firstEntry = 0;           // its IDX_START entry
  std::size_t endEntry = 0;             // one past its last entry
  std::vector<std::uint32_t> vertices;  // node numbers in order (start first)
  bool closed = false;
  bool hasMaterial = false;
  std::uint16_t material = 0;
};

// The figures in entry order. Node numbers at or beyond the node count are
// left out of the vertex lists; entries before the first IDX_START form a
// figure of their own.
std::vector<Figure> figuresOf(const ModelObject& object);

// Appends a closed face (0,v0) (3,material) (1,v1) ... (2,vlast).
void appendFace(std::vector<IndexEntry>& entries, const std::vector<std::uint32_t>& vertices,
                std::uint16_t material);
// Appends an open figure (0,v0) (3,material) (1,v1) ... (1,vlast).
void appendPolyline(std::vector<IndexEntry>& entries, const std::vector<std::uint32_t>& vertices,
                    std::uint16_t material);

// Entries of a figure in the order the figure would be drawn (a face's
// vertex order reversed, start kept, material kept): the entries of the
// figure with its node numbers raised by `offset`.
std::vector<IndexEntry> shiftedFigure(const ModelObject& object, const Figure& figure,
                                      std::uint32_t offset, bool reversed);

// Signed volume enclosed by the closed faces (m³): positive when the faces'
// front sides point outwards. Each face is fanned from its start vertex.
double signedVolume(const ModelObject& object);

// Drops nodes no entry uses and renumbers the entries; nodes closer than
// shareDistanceSquared (m², 0 = exact duplicates only) become one.
void dropUnusedNodes(ModelObject& object, double shareDistanceSquared);

}  // namespace tav
