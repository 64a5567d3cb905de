// The ordered, doubly linked list of model objects. The list owns the objects
// linked into it; objects outside it are held by std::unique_ptr.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>

#include "model/model_object.h"

namespace tav {

class ObjectList {
 public:
  ObjectList() = default;
  ~ObjectList() { freeAllObjects(); }
  ObjectList(const ObjectList&) = delete;
  ObjectList& operator=(const ObjectList&) = delete;
  ObjectList(ObjectList&& other) noexcept;
  ObjectList& operator=(ObjectList&& other) noexcept;

  ModelObject* head() const { return head_; }
  ModelObject* tail() const { return tail_; }
  bool empty() const { return head_ == nullptr; }

  // A zero-filled object with data, node and index arrays of the given sizes;
  // null when memory cannot be had.
  static std::unique_ptr<ModelObject> allocObject(std::size_t dataSize, std::size_t nodeCount,
                                                  std::size_t indexCount);
  // The scratch object used while drawing interactively: 360 nodes, 361 entries.
  static std::unique_ptr<ModelObject> allocDrawingObject();
  // A new unlinked object with the same shape, flags, colour, layer, nodes and
  // entries; its data block has the same size but is left zero.
  static std::unique_ptr<ModelObject> copyObject(const ModelObject& object);

  // Linking. Each returns the linked object, now owned by the list.
  ModelObject* appendObject(std::unique_ptr<ModelObject> object);
  // Links before `before` (an object of this list), or as the only object
  // when `before` is null.
  ModelObject* insertObjectBefore(std::unique_ptr<ModelObject> object, ModelObject* before);
  ModelObject* insertAtHead(std::unique_ptr<ModelObject> object) {
    return insertObjectBefore(std::move(object), head_);
  }
  // Removes an object of this list and hands it back, links cleared; null
  // for an object that is not linked here.
  std::unique_ptr<ModelObject> unlinkObject(ModelObject* object);
  // Unlinks and destroys an object of this list (unlinked objects belong to
  // their std::unique_ptr and are left alone).
  void freeObject(ModelObject* object);
  void freeAllObjects();

  // Ordinals are 0-based positions from the head.
  ModelObject* objectAt(long ordinal) const;
  long ordinalOf(const ModelObject* object) const;
  bool contains(const ModelObject* object) const { return ordinalOf(object) >= 0; }

  std::size_t countObjects() const;
  // Objects on layer 0; faceObjects (optional) receives those with faces.
  std::size_t countRoomObjects(std::size_t* faceObjects = nullptr) const;
  std::size_t countAudienceAreas() const;
  std::size_t countLoudspeakers() const;
  std::size_t countAuxObjects() const;
  std::size_t countOnLayer(std::uint32_t layer) const;

  template <typename T>
  class Iter {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = ModelObject;
    using difference_type = std::ptrdiff_t;
    using pointer = T*;
    using reference = T&;
    explicit Iter(T* p = nullptr) : p_(p) {}
    reference operator*() const { return *p_; }
    pointer operator->() const { return p_; }
    Iter& operator++() {
      p_ = p_->next;
      return *this;
    }
    Iter operator++(int) {
      Iter old = *this;
      p_ = p_->next;
      return old;
    }
    friend bool operator==(const Iter&, const Iter&) = default;

   private:
    T* p_;
  };
  using iterator = Iter<ModelObject>;
  using const_iterator = Iter<const ModelObject>;
  iterator begin() { return iterator(head_); }
  iterator end() { return iterator(nullptr); }
  const_iterator begin() const { return const_iterator(head_); }
  const_iterator end() const { return const_iterator(nullptr); }

 private:
  bool isLinkedHere(const ModelObject* object) const;

  ModelObject* head_ = nullptr;
  ModelObject* tail_ = nullptr;
};

// For a SHAPE_GROUP_BEGIN object the matching SHAPE_GROUP_END (groups nest),
// or null when the list ends first; any other object is its own end.
ModelObject* groupEnd(ModelObject* object);
const ModelObject* groupEnd(const ModelObject* object);

}  // namespace tav
