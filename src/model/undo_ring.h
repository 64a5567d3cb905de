// The eight-step undo ring: whole-model snapshots taken before every editing
// command.
#pragma once

#include <array>
#include <memory>

#include "model/project.h"

namespace tav {

constexpr int UNDO_SLOTS = 8;

class UndoRing {
 public:
  UndoRing();
  ~UndoRing();
  UndoRing(const UndoRing&) = delete;
  UndoRing& operator=(const UndoRing&) = delete;

  // Snapshots layers 0..15, every object, the speaker types (shape by
  // ordinal) and the materials into the next slot. False when memory cannot
  // be had (the caller shows "Insufficient memory for UNDO-buffer").
  bool saveUndoState(const Project& project);
  bool canUndo() const;
  bool canRedo() const;
  // Each returns true when it restored a snapshot into the project.
  bool undo(Project& project);
  bool redo(Project& project);
  void clearUndo();

  // Bytes a snapshot of the project takes (256-byte granularity).
  static std::size_t snapshotBytes(const Project& project);

  int current() const { return current_; }
  int top() const { return top_; }

 private:
  struct Snapshot;
  // False (project unchanged) when memory for the rebuilt model cannot be had.
  bool restore(Project& project, const Snapshot& snapshot) const;

  std::array<std::unique_ptr<Snapshot>, UNDO_SLOTS> slots_;
  int current_ = 0;
  int top_ = 0;
};

}  // namespace tav
