#include "model/object_list.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "support/model_builders.h"

namespace tav {
namespace {

using test::makeMarker;
using test::makeObject;

// Colours as tags, listed head to tail, checking the back links on the way.
std::vector<std::uint32_t> tags(const ObjectList& list) {
  std::vector<std::uint32_t> out;
  const ModelObject* prev = nullptr;
  for (const ModelObject* o = list.head(); o; o = o->next) {
    EXPECT_EQ(o->prev, prev);
    prev = o;
    out.push_back(o->colour);
  }
  EXPECT_EQ(list.tail(), prev);
  return out;
}

std::unique_ptr<ModelObject> tagged(std::uint32_t tag) {
  auto o = makeMarker(SHAPE_LINE);
  o->colour = tag;
  return o;
}

TEST(ObjectList, LinkingKeepsOrderAndEnds) {
  ObjectList list;
  EXPECT_TRUE(list.empty());
  list.insertObjectBefore(tagged(2), nullptr);  // the only object of an empty list
  EXPECT_EQ(tags(list), (std::vector<std::uint32_t>{2}));
  list.appendObject(tagged(3));
  list.insertAtHead(tagged(1));  // drawing commands put new objects first
  ModelObject* three = list.tail();
  list.insertObjectBefore(tagged(4), three);
  EXPECT_EQ(tags(list), (std::vector<std::uint32_t>{1, 2, 4, 3}));

  // Unlinking the head, the tail and a middle object fixes the ends and
  // clears the unlinked object's links.
  auto head = list.unlinkObject(list.head());
  EXPECT_EQ(head->colour, 1u);
  EXPECT_EQ(head->next, nullptr);
  EXPECT_EQ(head->prev, nullptr);
  auto tail = list.unlinkObject(list.tail());
  EXPECT_EQ(tail->colour, 3u);
  EXPECT_EQ(tags(list), (std::vector<std::uint32_t>{2, 4}));
  list.appendObject(std::move(tail));
  auto middle = list.unlinkObject(list.objectAt(1));
  EXPECT_EQ(middle->colour, 4u);
  EXPECT_EQ(middle->prev, nullptr);
  EXPECT_EQ(middle->next, nullptr);
  EXPECT_EQ(tags(list), (std::vector<std::uint32_t>{2, 3}));

  // freeObject leaves objects it does not hold alone.
  list.freeObject(middle.get());
  EXPECT_EQ(middle->colour, 4u);
  EXPECT_EQ(list.countObjects(), 2u);
  list.freeObject(list.head());
  EXPECT_EQ(tags(list), (std::vector<std::uint32_t>{3}));
  list.freeObject(list.head());
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.tail(), nullptr);

  for (std::uint32_t t = 0; t < 5; ++t) list.appendObject(tagged(t));
  list.freeAllObjects();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.countObjects(), 0u);
}

TEST(ObjectList, OrdinalsAndLookups) {
  ObjectList list;
  EXPECT_EQ(list.objectAt(0), nullptr);
  for (std::uint32_t t = 0; t < 3; ++t) list.appendObject(tagged(t));
  EXPECT_EQ(list.objectAt(-1), nullptr);
  EXPECT_EQ(list.objectAt(3), nullptr);  // the object count is one past the end
  ASSERT_NE(list.objectAt(2), nullptr);
  EXPECT_EQ(list.objectAt(2)->colour, 2u);
  EXPECT_EQ(list.ordinalOf(list.objectAt(1)), 1);
  auto loose = tagged(9);
  EXPECT_EQ(list.ordinalOf(loose.get()), -1);
  EXPECT_EQ(list.ordinalOf(nullptr), -1);
  EXPECT_FALSE(list.contains(loose.get()));
}

TEST(ObjectList, CountersBySubject) {
  ObjectList list;
  list.appendObject(makeMarker(SHAPE_FACE, LAYER_ROOM));
  list.appendObject(makeMarker(SHAPE_SOLID, LAYER_ROOM));
  list.appendObject(makeMarker(SHAPE_POLYLINE, LAYER_ROOM));
  list.appendObject(makeMarker(SHAPE_FACE, LAYER_AUDIENCE));
  list.appendObject(makeMarker(SHAPE_LINE, LAYER_SPEAKERS));
  list.appendObject(makeMarker(SHAPE_LINE, LAYER_SPEAKERS));
  list.appendObject(makeMarker(SHAPE_TEXT, LAYER_AUX));
  list.appendObject(makeMarker(SHAPE_SOLID, LAYER_SPEAKER_SHAPES));
  std::size_t withFaces = 99;
  EXPECT_EQ(list.countObjects(), 8u);
  EXPECT_EQ(list.countRoomObjects(&withFaces), 3u);
  EXPECT_EQ(withFaces, 2u);
  EXPECT_EQ(list.countAudienceAreas(), 1u);
  EXPECT_EQ(list.countLoudspeakers(), 2u);
  EXPECT_EQ(list.countAuxObjects(), 1u);
  EXPECT_EQ(list.countOnLayer(LAYER_SPEAKER_SHAPES), 1u);
}

TEST(ObjectList, SnapshotSizeAndLargestSelected) {
  ObjectList list;
  EXPECT_EQ(list.largestSelected(), 0u);
  auto a = ObjectList::allocObject(10, 3, 5);  // 48 + 10 + 36 + 20
  EXPECT_EQ(snapshotSize(*a), 114u);
  auto b = ObjectList::allocObject(0, 100, 0);  // 48 + 1200, but not selected
  auto c = ObjectList::allocObject(0, 4, 6);    // 48 + 48 + 24
  a->flags = OF_SELECTED;
  c->flags = OF_SELECTED | OF_CREATED;
  list.appendObject(std::move(a));
  list.appendObject(std::move(b));
  list.appendObject(std::move(c));
  EXPECT_EQ(list.largestSelected(), 120u);
}

TEST(ObjectList, CopyObjectKeepsGeometryButNotData) {
  auto o = makeObject({{1, 2, 3}, {4, 5, 6}}, {{IDX_START, 0}, {IDX_LINE, 1}}, LAYER_AUX,
                      SHAPE_POLYLINE);
  o->data = {1, 2, 3, 4};
  o->flags = OF_SELECTED | OF_CREATED;
  o->colour = 14;
  ObjectList list;
  ModelObject* linked = list.appendObject(std::move(o));
  auto copy = ObjectList::copyObject(*linked);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->nodes, linked->nodes);
  EXPECT_EQ(copy->indices, linked->indices);
  EXPECT_EQ(std::tie(copy->shape, copy->flags, copy->colour, copy->layer),
            std::tie(linked->shape, linked->flags, linked->colour, linked->layer));
  EXPECT_EQ(copy->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(copy->next, nullptr);
}

TEST(ObjectList, GroupsNestAndUnmatchedBeginGivesNull) {
  ObjectList list;
  ModelObject* outer = list.appendObject(makeMarker(SHAPE_GROUP_BEGIN));
  ModelObject* first = list.appendObject(makeMarker(SHAPE_FACE));
  ModelObject* inner = list.appendObject(makeMarker(SHAPE_GROUP_BEGIN));
  list.appendObject(makeMarker(SHAPE_FACE));
  ModelObject* innerEnd = list.appendObject(makeMarker(SHAPE_GROUP_END));
  list.appendObject(makeMarker(SHAPE_FACE));
  ModelObject* outerEnd = list.appendObject(makeMarker(SHAPE_GROUP_END));
  ModelObject* after = list.appendObject(makeMarker(SHAPE_FACE));

  EXPECT_EQ(groupEnd(outer), outerEnd);  // the inner pair does not end the outer group
  EXPECT_EQ(groupEnd(inner), innerEnd);
  EXPECT_EQ(groupEnd(first), first);
  EXPECT_EQ(groupEnd(after), after);
  EXPECT_EQ(groupEnd(static_cast<ModelObject*>(nullptr)), nullptr);

  // A begin whose end is missing: the list ends first.
  ObjectList broken;
  ModelObject* open = broken.appendObject(makeMarker(SHAPE_GROUP_BEGIN));
  broken.appendObject(makeMarker(SHAPE_GROUP_BEGIN));
  broken.appendObject(makeMarker(SHAPE_FACE));
  broken.appendObject(makeMarker(SHAPE_GROUP_END));
  EXPECT_EQ(groupEnd(open), nullptr);
}

}  // namespace
}  // namespace tav
