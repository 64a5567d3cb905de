// How the model tells the view that something must be drawn again, without
// knowing the view.
#pragma once

namespace tav {

struct ModelObject;

class ModelObserver {
 public:
  virtual ~ModelObserver() = default;
  // One object changed (selection, visibility, geometry).
  virtual void objectChanged(const ModelObject& object) = 0;
  // Everything must be drawn again.
  virtual void modelChanged() = 0;
};

}  // namespace tav
