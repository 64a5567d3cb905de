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

}  // namespace
}  // namespace tav
