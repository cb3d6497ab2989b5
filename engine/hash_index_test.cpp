#include "engine/hash_index.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

struct Item {
  int key;
};

// Against a plain vector, with hashes chosen to collide: long runs of one hash, runs that
// wrap round the end of the array, and erasures from their middle.
TEST(HashIndex, FindsExactlyWhatIsInItThroughCollisionsAndErasures) {
  struct Case {
    const char* what;
    int distinctHashes;
  };
  const Case kCases[] = {{"one hash for all", 1}, {"few hashes", 7}, {"many hashes", 100000}};
  for (const Case& c : kCases) {
    std::mt19937 random(11);
    std::vector<std::unique_ptr<Item>> items;
    std::vector<Item*> live;
    HashIndex<Item> index;
    const auto hashOf = [&](int key) { return static_cast<std::size_t>(key % c.distinctHashes); };
    int nextKey = 0;
    for (int step = 0; step < 3000; ++step) {
      if (live.empty() || random() % 3 != 0) {
        items.push_back(std::make_unique<Item>(Item{nextKey++}));
        live.push_back(items.back().get());
        index.Insert(hashOf(live.back()->key), live.back());
      } else {
        const std::size_t pick = random() % live.size();
        index.Erase(hashOf(live[pick]->key), live[pick]);
        live.erase(live.begin() + static_cast<std::ptrdiff_t>(pick));
      }
      if (step % 101 != 0) continue;
      ASSERT_EQ(index.Size(), live.size()) << c.what;
      std::vector<bool> present(static_cast<std::size_t>(nextKey), false);
      for (const Item* item : live) present[static_cast<std::size_t>(item->key)] = true;
      for (int key = 0; key < nextKey; ++key) {
        const Item* found = index.Find(hashOf(key), [&](const Item& i) { return i.key == key; });
        ASSERT_EQ(found != nullptr, present[static_cast<std::size_t>(key)])
            << c.what << ", key " << key << ", step " << step;
        if (found != nullptr) {
          EXPECT_EQ(found->key, key) << c.what;
        }
      }
    }
    std::size_t visited = 0;
    index.ForEach([&](Item*) { ++visited; });
    EXPECT_EQ(visited, live.size()) << c.what;
  }
}

TEST(HashIndex, KeepsObjectsWithTheSameKeyApart) {
  Item a{1}, b{1};
  HashIndex<Item> index;
  EXPECT_EQ(index.Find(5, [](const Item&) { return true; }), nullptr);
  index.Insert(5, &a);
  index.Insert(5, &b);
  index.Erase(5, &a);
  EXPECT_EQ(index.Find(5, [](const Item& i) { return i.key == 1; }), &b);
  index.Erase(5, &b);
  EXPECT_EQ(index.Find(5, [](const Item& i) { return i.key == 1; }), nullptr);
  EXPECT_EQ(index.Size(), 0u);
}

}  // namespace
