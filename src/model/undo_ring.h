// The eight-step undo ring: whole-model snapshots taken before every editing
// command.
#pragma once

#include <array>
#include <memory>
#include <string>

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
  // `name` is what undoing the step undoes ("Delete Face").
  bool saveUndoState(const Project& project, std::string name = {});
  bool canUndo() const;
  bool canRedo() const;
  // The command the next undo or redo takes back or makes again; empty when
  // there is none or it has no name.
  std::string undoName() const;
  std::string redoName() const;

  // A step around a command: the snapshot is taken before it runs but enters
  // the ring only if the command changed what undo restores, so a command
  // cancelled, refused or only looked at leaves the ring and the redo chain
  // as they were. beginStep reports a failed allocation like saveUndoState.
  bool beginStep(const Project& project, std::string name);
  // True when the step entered the ring.
  bool endStep(const Project& project);
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
  static std::unique_ptr<Snapshot> takeSnapshot(const Project& project);
  // Whether restoring the snapshot would leave the project as it is.
  static bool sameAs(const Snapshot& snapshot, const Project& project);
  void push(std::unique_ptr<Snapshot> snapshot);
  // False (project unchanged) when memory for the rebuilt model cannot be had.
  bool restore(Project& project, const Snapshot& snapshot) const;

  std::array<std::unique_ptr<Snapshot>, UNDO_SLOTS> slots_;
  std::unique_ptr<Snapshot> pending_;  // taken by beginStep, not yet in the ring
  int current_ = 0;
  int top_ = 0;
};

}  // namespace tav
