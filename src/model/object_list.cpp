#include "model/object_list.h"

#include <new>
#include <utility>

namespace tav {

ObjectList::ObjectList(ObjectList&& other) noexcept
    : head_(std::exchange(other.head_, nullptr)), tail_(std::exchange(other.tail_, nullptr)) {}

ObjectList& ObjectList::operator=(ObjectList&& other) noexcept {
  if (this != &other) {
    freeAllObjects();
    head_ = std::exchange(other.head_, nullptr);
    tail_ = std::exchange(other.tail_, nullptr);
  }
  return *this;
}

std::unique_ptr<ModelObject> ObjectList::allocObject(std::size_t dataSize, std::size_t nodeCount,
                                                     std::size_t indexCount) {
  try {
    auto object = std::make_unique<ModelObject>();
    object->data.assign(dataSize, 0);
    object->nodes.assign(nodeCount, Node{});
    object->indices.assign(indexCount, IndexEntry{});
    return object;
  } catch (const std::bad_alloc&) {
    return nullptr;
  } catch (const std::length_error&) {
    return nullptr;
  }
}

std::unique_ptr<ModelObject> ObjectList::allocDrawingObject() { return allocObject(0, 360, 361); }

std::unique_ptr<ModelObject> ObjectList::copyObject(const ModelObject& object) {
  auto copy = allocObject(object.data.size(), 0, 0);
  if (!copy) return nullptr;
  try {
    copy->nodes = object.nodes;
    copy->indices = object.indices;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  copy->shape = object.shape;
  copy->flags = object.flags;
  copy->colour = object.colour;
  copy->layer = object.layer;
  return copy;
}

ModelObject* ObjectList::appendObject(std::unique_ptr<ModelObject> object) {
  ModelObject* o = object.release();
  o->next = nullptr;
  o->prev = tail_;
  if (tail_)
    tail_->next = o;
  else
    head_ = o;
  tail_ = o;
  return o;
}

ModelObject* ObjectList::insertObjectBefore(std::unique_ptr<ModelObject> object,
                                            ModelObject* before) {
  if (!before) return appendObject(std::move(object));
  ModelObject* o = object.release();
  o->next = before;
  o->prev = before->prev;
  if (before->prev)
    before->prev->next = o;
  else
    head_ = o;
  before->prev = o;
  return o;
}

// True when the object's links put it in this list: its ends must be this
// list's head and tail (an unlinked object has neither).
bool ObjectList::isLinkedHere(const ModelObject* object) const {
  if (!object) return false;
  if (!object->prev && head_ != object) return false;
  if (!object->next && tail_ != object) return false;
  return true;
}

std::unique_ptr<ModelObject> ObjectList::unlinkObject(ModelObject* object) {
  if (!isLinkedHere(object)) return nullptr;
  if (object->prev)
    object->prev->next = object->next;
  else
    head_ = object->next;
  if (object->next)
    object->next->prev = object->prev;
  else
    tail_ = object->prev;
  object->prev = nullptr;
  object->next = nullptr;
  return std::unique_ptr<ModelObject>(object);
}

void ObjectList::freeObject(ModelObject* object) {
  // Objects outside the list are owned by a std::unique_ptr and freed there.
  unlinkObject(object);  // destroyed with the returned pointer
}

void ObjectList::freeAllObjects() {
  ModelObject* o = head_;
  while (o) {
    ModelObject* next = o->next;
    delete o;
    o = next;
  }
  head_ = tail_ = nullptr;
}

ModelObject* ObjectList::objectAt(long ordinal) const {
  if (ordinal < 0) return nullptr;
  ModelObject* o = head_;
  while (o && ordinal > 0) {
    o = o->next;
    --ordinal;
  }
  return o;
}

long ObjectList::ordinalOf(const ModelObject* object) const {
  long n = 0;
  for (const ModelObject* o = head_; o; o = o->next, ++n)
    if (o == object) return n;
  return -1;
}

std::size_t ObjectList::countObjects() const {
  std::size_t n = 0;
  for (const ModelObject* o = head_; o; o = o->next) ++n;
  return n;
}

std::size_t ObjectList::countOnLayer(std::uint32_t layer) const {
  std::size_t n = 0;
  for (const ModelObject* o = head_; o; o = o->next)
    if (o->layer == layer) ++n;
  return n;
}

std::size_t ObjectList::countRoomObjects(std::size_t* faceObjects) const {
  std::size_t n = 0, faces = 0;
  for (const ModelObject* o = head_; o; o = o->next) {
    if (o->layer != LAYER_ROOM) continue;
    ++n;
    if (o->hasFaces()) ++faces;
  }
  if (faceObjects) *faceObjects = faces;
  return n;
}

std::size_t ObjectList::countAudienceAreas() const { return countOnLayer(LAYER_AUDIENCE); }
std::size_t ObjectList::countLoudspeakers() const { return countOnLayer(LAYER_SPEAKERS); }
std::size_t ObjectList::countAuxObjects() const { return countOnLayer(LAYER_AUX); }

template <typename T>
static T* matchingGroupEnd(T* object) {
  if (!object || !object->isGroupBegin()) return object;
  int depth = 0;
  for (T* o = object; o; o = o->next) {
    if (o->isGroupBegin())
      ++depth;
    else if (o->isGroupEnd() && --depth == 0)
      return o;
  }
  return nullptr;
}

ModelObject* groupEnd(ModelObject* object) { return matchingGroupEnd(object); }
const ModelObject* groupEnd(const ModelObject* object) { return matchingGroupEnd(object); }

}  // namespace tav
