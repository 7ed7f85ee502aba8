#include <gtest/gtest.h>

#include <map>
#include <string>

#include "CCObject.h"
#include "ccRetainedMap.h"

using namespace cocos2d;

namespace {

TEST(RetainedMapTest, RemovedEntriesLoseTheMapsReferenceAndTheRestKeepIt) {
  // Each object starts with the cache's reference; the test holds one more of each
  // (two of "shared").
  CCObject* kept = new CCObject();
  CCObject* shared = new CCObject();
  CCObject* alone = new CCObject();
  std::map<std::string, CCObject*> cache = {{"kept", kept}, {"shared", shared}, {"alone", alone}};
  kept->retain();
  shared->retain();
  shared->retain();
  alone->retain();

  EXPECT_EQ(1u, ccReleaseEntriesIf(cache, [&](const auto& e) { return e.second == shared; }));
  EXPECT_EQ(2u, shared->retainCount());
  EXPECT_TRUE(ccReleaseEntry(cache, std::string("alone")));
  EXPECT_FALSE(ccReleaseEntry(cache, std::string("alone")));
  EXPECT_EQ(1u, alone->retainCount());
  ASSERT_EQ(1u, cache.size());
  EXPECT_EQ(2u, kept->retainCount());

  EXPECT_EQ(1u, ccReleaseEntriesIf(cache, [](const auto&) { return true; }));
  EXPECT_TRUE(cache.empty());
  kept->release();
  alone->release();
  shared->release();
  shared->release();
}

}  // namespace
