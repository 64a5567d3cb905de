#include "model/object_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/model_builders.h"

namespace tav {
namespace {

using test::makeMarker;
using Tags = std::vector<std::uint32_t>;

// Colours as tags, listed head to tail, checking the back links on the way.
Tags tags(const ObjectList& list) {
  Tags out;
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

TEST(ObjectList, LinkingKeepsOrderEndsAndOrdinals) {
  ObjectList list;
  list.insertObjectBefore(tagged(2), nullptr);  // the only object of an empty list
  list.appendObject(tagged(3));
  list.insertAtHead(tagged(1));  // drawing commands put new objects first
  list.insertObjectBefore(tagged(4), list.tail());
  EXPECT_EQ(tags(list), (Tags{1, 2, 4, 3}));
  EXPECT_EQ(list.objectAt(4), nullptr);  // the object count is one past the end
  EXPECT_EQ(list.objectAt(-1), nullptr);
  EXPECT_EQ(list.ordinalOf(list.objectAt(2)), 2);

  // Unlinking the head, the tail and a middle object fixes the ends and
  // clears the unlinked object's links.
  EXPECT_EQ(list.unlinkObject(list.head())->colour, 1u);
  EXPECT_EQ(list.unlinkObject(list.tail())->colour, 3u);
  list.appendObject(tagged(5));
  auto middle = list.unlinkObject(list.objectAt(1));
  EXPECT_EQ(middle->colour, 4u);
  EXPECT_EQ(middle->prev, nullptr);
  EXPECT_EQ(middle->next, nullptr);
  EXPECT_EQ(tags(list), (Tags{2, 5}));
  EXPECT_EQ(list.ordinalOf(middle.get()), -1);

  // freeObject leaves objects it does not hold alone.
  list.freeObject(middle.get());
  EXPECT_EQ(list.countObjects(), 2u);
  list.freeObject(list.head());
  EXPECT_EQ(tags(list), (Tags{5}));
}

TEST(ObjectList, LargestSelectedSnapshot) {
  ObjectList list;
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

TEST(ObjectList, GroupsNestAndUnmatchedBeginGivesNull) {
  ObjectList list;
  ModelObject* outer = list.appendObject(makeMarker(SHAPE_GROUP_BEGIN));
  ModelObject* inner = list.appendObject(makeMarker(SHAPE_GROUP_BEGIN));
  ModelObject* innerEnd = list.appendObject(makeMarker(SHAPE_GROUP_END));
  ModelObject* face = list.appendObject(makeMarker(SHAPE_FACE));
  ModelObject* outerEnd = list.appendObject(makeMarker(SHAPE_GROUP_END));
  EXPECT_EQ(groupEnd(outer), outerEnd);  // the inner pair does not end the outer group
  EXPECT_EQ(groupEnd(inner), innerEnd);
  EXPECT_EQ(groupEnd(face), face);

  // A begin whose end is missing: the list ends first.
  list.freeObject(outerEnd);
  EXPECT_EQ(groupEnd(outer), nullptr);
}

}  // namespace
}  // namespace tav
