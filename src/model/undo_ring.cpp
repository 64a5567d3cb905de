// The undo ring keeps eight whole-model snapshots. Step n lives in slot
// n AND 7; `current` is the step the next snapshot goes to and `top` one past
// the newest step taken, so steps top - 8 .. top - 1 are within reach.
#include "model/undo_ring.h"

#include <algorithm>
#include <bit>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tav {

namespace {
constexpr std::size_t SNAPSHOT_GRANULE = 256;
}  // namespace

// A deep copy of everything undo restores. Speaker types refer to their shape
// object by ordinal (-1: the default shape), as they do in files, because the
// objects are new after a restore.
struct UndoRing::Snapshot {
  struct Object {
    std::uint32_t shape = 0, flags = 0, colour = 0, layer = 0;
    std::vector<std::uint8_t> data;
    std::vector<Node> nodes;
    std::vector<IndexEntry> indices;
  };
  std::array<LayerRecord, STORED_LAYER_COUNT> layers{};
  std::vector<Object> objects;
  std::vector<SpeakerType> speakerTypes;  // shape pointers null
  std::vector<long> shapeOrdinals;        // one per speaker type
  std::vector<AbsorberMaterial> materials;
  std::size_t bytes = 0;  // the size the snapshot accounts for
  std::string name;       // the command that followed the snapshot
};

UndoRing::UndoRing() = default;
UndoRing::~UndoRing() = default;

std::size_t UndoRing::snapshotBytes(const Project& project) {
  std::size_t bytes = STORED_LAYER_COUNT * LAYER_RECORD_SIZE + 4;
  for (const ModelObject& o : project.objects) bytes += snapshotSize(o);
  bytes += SPEAKER_TYPE_SIZE * project.speakerTypes.size();
  bytes += ABSORBER_MATERIAL_SIZE * project.materials.count();
  bytes += 6;
  return (bytes + SNAPSHOT_GRANULE - 1) / SNAPSHOT_GRANULE * SNAPSHOT_GRANULE;
}

std::unique_ptr<UndoRing::Snapshot> UndoRing::takeSnapshot(const Project& project) {
  // The snapshot is built completely before it replaces anything, so a
  // failed allocation leaves the ring as it was.
  std::unique_ptr<Snapshot> s;
  try {
    s = std::make_unique<Snapshot>();
    s->bytes = snapshotBytes(project);
    std::copy_n(project.layers.begin(), STORED_LAYER_COUNT, s->layers.begin());
    s->objects.reserve(project.objects.countObjects());
    for (const ModelObject& o : project.objects) {
      Snapshot::Object& copy = s->objects.emplace_back();
      copy.shape = o.shape;
      copy.flags = o.flags;
      copy.colour = o.colour;
      copy.layer = o.layer;
      copy.data = o.data;
      copy.nodes = o.nodes;
      copy.indices = o.indices;
    }
    s->speakerTypes.reserve(project.speakerTypes.size());
    s->shapeOrdinals.reserve(project.speakerTypes.size());
    for (const auto& type : project.speakerTypes) {
      if (!type) {
        // An empty table entry comes back as an empty entry.
        s->speakerTypes.emplace_back();
        s->shapeOrdinals.push_back(-2);
        continue;
      }
      SpeakerType& copy = s->speakerTypes.emplace_back(*type);
      copy.shape = nullptr;
      s->shapeOrdinals.push_back(type->shape ? project.objects.ordinalOf(type->shape) : -1);
    }
    s->materials = project.materials.slots;
  } catch (const std::bad_alloc&) {
    return nullptr;
  } catch (const std::length_error&) {
    return nullptr;
  }
  return s;
}

void UndoRing::push(std::unique_ptr<Snapshot> s) {
  slots_[current_ & 7] = std::move(s);
  top_ = current_ + 1;
  current_ = top_;
}

bool UndoRing::saveUndoState(const Project& project, std::string name) {
  std::unique_ptr<Snapshot> s = takeSnapshot(project);
  if (!s) return false;
  s->name = std::move(name);
  push(std::move(s));
  return true;
}

bool UndoRing::beginStep(const Project& project, std::string name) {
  pending_ = takeSnapshot(project);
  if (!pending_) return false;
  pending_->name = std::move(name);
  return true;
}

bool UndoRing::endStep(const Project& project) {
  std::unique_ptr<Snapshot> s = std::move(pending_);
  if (!s || sameAs(*s, project)) return false;
  push(std::move(s));
  return true;
}

bool UndoRing::sameAs(const Snapshot& s, const Project& project) {
  if (!std::equal(s.layers.begin(), s.layers.end(), project.layers.begin())) return false;
  // Nodes compare by their bits: a coordinate that became -0 or NaN changed.
  auto sameNodes = [](const std::vector<Node>& a, const std::vector<Node>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Node& p, const Node& q) {
      return std::bit_cast<std::uint32_t>(p.x) == std::bit_cast<std::uint32_t>(q.x) &&
             std::bit_cast<std::uint32_t>(p.y) == std::bit_cast<std::uint32_t>(q.y) &&
             std::bit_cast<std::uint32_t>(p.z) == std::bit_cast<std::uint32_t>(q.z);
    });
  };
  auto stored = s.objects.begin();
  for (const ModelObject& o : project.objects) {
    if (stored == s.objects.end()) return false;
    if (stored->shape != o.shape || stored->flags != o.flags || stored->colour != o.colour ||
        stored->layer != o.layer || stored->data != o.data || stored->indices != o.indices ||
        !sameNodes(stored->nodes, o.nodes))
      return false;
    ++stored;
  }
  if (stored != s.objects.end()) return false;
  if (s.speakerTypes.size() != project.speakerTypes.size()) return false;
  for (std::size_t k = 0; k < s.speakerTypes.size(); ++k) {
    const auto& type = project.speakerTypes[k];
    if (!type) {
      if (s.shapeOrdinals[k] != -2) return false;
      continue;
    }
    const long ordinal = type->shape ? project.objects.ordinalOf(type->shape) : -1;
    if (s.shapeOrdinals[k] != ordinal || !(s.speakerTypes[k] == *type)) return false;
  }
  return s.materials == project.materials.slots;
}

bool UndoRing::canUndo() const {
  if (top_ > 7) return current_ > top_ - 8;
  return current_ >= 1;
}

bool UndoRing::canRedo() const { return current_ < top_ - 1; }

std::string UndoRing::undoName() const {
  if (!canUndo()) return {};
  // Before the first undo the newest snapshot is the step undo goes back to;
  // after one, current - 1 is.
  const Snapshot* s = slots_[(current_ - 1) & 7].get();
  return s ? s->name : std::string();
}

std::string UndoRing::redoName() const {
  if (!canRedo()) return {};
  const Snapshot* s = slots_[current_ & 7].get();
  return s ? s->name : std::string();
}

bool UndoRing::undo(Project& project) {
  if (current_ == top_) {
    // Nothing undone yet: keep the present state so that it can be redone.
    // If it cannot be kept, the counters stay put and the undo still goes
    // back exactly one step (the present state is then not redoable).
    if (saveUndoState(project)) --current_;
  }
  if (!canUndo()) return false;
  --current_;
  const Snapshot* s = slots_[current_ & 7].get();
  return s && restore(project, *s);
}

bool UndoRing::redo(Project& project) {
  if (!canRedo()) return false;
  ++current_;
  const Snapshot* s = slots_[current_ & 7].get();
  return s && restore(project, *s);
}

void UndoRing::clearUndo() {
  for (auto& slot : slots_) slot.reset();
  pending_.reset();
  current_ = 0;
  top_ = 0;
}

bool UndoRing::restore(Project& project, const Snapshot& s) const {
  // Everything is rebuilt aside first and then moved in, so that a failed
  // allocation leaves the project as it was.
  ObjectList objects;
  ProjectSpeakerTypes types;
  std::vector<AbsorberMaterial> materials;
  try {
    for (const Snapshot::Object& stored : s.objects) {
      auto o = ObjectList::allocObject(0, 0, 0);
      if (!o) return false;
      o->shape = stored.shape;
      o->flags = stored.flags;
      o->colour = stored.colour;
      o->layer = stored.layer;
      o->data = stored.data;
      o->nodes = stored.nodes;
      o->indices = stored.indices;
      objects.appendObject(std::move(o));
    }
    types.reserve(s.speakerTypes.size());
    for (std::size_t k = 0; k < s.speakerTypes.size(); ++k) {
      const long ordinal = s.shapeOrdinals[k];
      if (ordinal == -2) {
        types.emplace_back();
        continue;
      }
      auto type = std::make_unique<SpeakerType>(s.speakerTypes[k]);
      // A negative ordinal, or one that names no object, is the default shape.
      type->shape = ordinal >= 0 ? objects.objectAt(ordinal) : nullptr;
      types.push_back(std::move(type));
    }
    materials = s.materials;
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  std::copy_n(s.layers.begin(), STORED_LAYER_COUNT, project.layers.begin());
  project.speakerTypes = std::move(types);  // old types dropped before their shapes
  project.objects = std::move(objects);
  project.materials.slots = std::move(materials);
  project.notifyAll();
  return true;
}

}  // namespace tav
