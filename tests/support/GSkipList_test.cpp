// The ordered list: ascending visits whatever the insertion order, find, refusal of equal
// keys, and that every node and the head come from and go back to the callbacks.
#include "support/GSkipList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
#include <vector>

namespace morvit {

namespace {

// A list of ints that counts its list memory.
class IntList : public GSkipList {
 public:
  ~IntList() override { DestroyList(nullptr); }
  int live = 0;  // blocks allocated and not yet released

 protected:
  void* AllocateMemory(std::size_t size) override {
    ++live;
    return ::operator new(size);
  }
  void ReleaseMemory(void* memory) override {
    --live;
    ::operator delete(memory);
  }
  const void* GetKey(const void* element) override { return element; }
  int Compare(const void* key, const void* other) override {
    const int a = *static_cast<const int*>(key), b = *static_cast<const int*>(other);
    return (a > b) - (a < b);
  }
};

std::vector<int> Visit(const IntList& list) {
  std::vector<int> seen;
  for (GSkipList::Node* n = list.GetFirstObj(); n != nullptr; n = GSkipList::GetNext(n)) {
    seen.push_back(*static_cast<int*>(GSkipList::GetData(n)));
  }
  return seen;
}

TEST(GSkipList, VisitsInAscendingOrderWhateverTheInsertionOrder) {
  struct Order {
    const char* what;
    std::vector<int> values;
  };
  std::vector<int> shuffled(500);
  std::iota(shuffled.begin(), shuffled.end(), -250);
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
  std::vector<int> descending(shuffled);
  std::sort(descending.rbegin(), descending.rend());
  const Order orders[] = {{"shuffled", shuffled}, {"descending", descending}, {"one", {42}}};
  for (const Order& order : orders) {
    SCOPED_TRACE(order.what);
    std::vector<int> values = order.values;
    IntList list;
    list.CreateList();
    EXPECT_TRUE(list.IsEmpty());
    for (int& v : values) EXPECT_TRUE(list.Insert(&v));
    std::vector<int> expected = order.values;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Visit(list), expected);
    EXPECT_FALSE(list.IsEmpty());
  }
}

TEST(GSkipList, FindsEqualKeysOnlyAndRefusesDuplicates) {
  std::vector<int> values = {10, 30, 20, 50, 40};
  IntList list;
  list.CreateList();
  for (int& v : values) list.Insert(&v);
  for (int key : {10, 20, 30, 40, 50}) {
    GSkipList::Node* node = list.Find(&key);
    ASSERT_NE(node, nullptr) << key;
    EXPECT_EQ(*static_cast<int*>(GSkipList::GetData(node)), key);
  }
  for (int key : {0, 15, 55, -1}) EXPECT_EQ(list.Find(&key), nullptr) << key;
  int again = 30;
  EXPECT_FALSE(list.Insert(&again));
  EXPECT_EQ(GSkipList::GetData(list.Find(&again)), &values[1]);
  EXPECT_EQ(Visit(list), (std::vector<int>{10, 20, 30, 40, 50}));
}

TEST(GSkipList, EveryNodeAndTheHeadGoBackThroughTheCallbacks) {
  std::vector<int> values(100);
  std::iota(values.begin(), values.end(), 0);
  IntList list;
  EXPECT_EQ(list.GetFirst(), nullptr);
  EXPECT_EQ(list.Find(&values[0]), nullptr);
  list.CreateList();
  for (int& v : values) list.Insert(&v);
  EXPECT_EQ(list.live, 101);  // the nodes and the head
  std::set<void*> released;
  static std::set<void*>* sink;
  sink = &released;
  list.DestroyList([](void* element) { sink->insert(element); });
  EXPECT_EQ(list.live, 0);
  EXPECT_EQ(released.size(), values.size());
  EXPECT_EQ(list.GetFirst(), nullptr);
  EXPECT_TRUE(list.IsEmpty());
  int key = 3;
  EXPECT_TRUE(list.Insert(&key));  // a destroyed list can be used again
  EXPECT_EQ(Visit(list), std::vector<int>{3});
}

}  // namespace

}  // namespace morvit
