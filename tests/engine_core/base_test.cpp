#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "logog/logog.hpp"
#include "CCFileUtils.h"
#include "cocos2d_base.h"

using namespace cocos2d;

namespace {

// Counts destructions so tests can see when the last reference goes.
struct Tracked : public CCObject {
  explicit Tracked(int* counter) : deaths(counter) {}
  ~Tracked() override { ++*deaths; }
  int* deaths;
};

TEST(ObjectTest, AutoreleasedObjectLivesUntilPoolDrainsThenDies) {
  int deaths = 0;
  Tracked* t = new Tracked(&deaths);
  t->autorelease();
  t->retain();  // an owner keeps it
  CCPoolManager::sharedPoolManager()->pop();
  EXPECT_EQ(0, deaths);
  EXPECT_EQ(1u, t->retainCount());
  t->release();
  EXPECT_EQ(1, deaths);

  Tracked* u = new Tracked(&deaths);
  u->autorelease();
  CCPoolManager::sharedPoolManager()->pop();
  EXPECT_EQ(2, deaths);
}

TEST(ObjectTest, ObjectAutoreleasedTwiceIsReleasedTwiceAndDiesOnce) {
  int deaths = 0;
  Tracked* t = new Tracked(&deaths);
  t->retain();
  t->autorelease();
  t->autorelease();
  CCPoolManager::sharedPoolManager()->pop();
  EXPECT_EQ(1, deaths);
}

TEST(ObjectTest, OverReleasedObjectInPoolIsNotReleasedAgainByDrain) {
  int deaths = 0;
  Tracked* t = new Tracked(&deaths);
  t->retain();
  t->autorelease();
  t->release();
  t->release();  // owner's mistake: the pool's reference is gone too
  EXPECT_EQ(1, deaths);
  CCPoolManager::sharedPoolManager()->pop();  // must not touch the freed object
  EXPECT_EQ(1, deaths);
}

TEST(ObjectTest, ObjectsAutoreleasedDuringDrainAreDrainedToo) {
  struct Chain : public CCObject {
    explicit Chain(int* c) : deaths(c) {}
    ~Chain() override {
      ++*deaths;
      (new Tracked(deaths))->autorelease();
    }
    int* deaths;
  };
  int deaths = 0;
  (new Chain(&deaths))->autorelease();
  CCPoolManager::sharedPoolManager()->pop();
  EXPECT_EQ(2, deaths);
}

TEST(ObjectTest, PushedPoolDrainsOnPopAndLeavesTheOuterPool) {
  int deaths = 0;
  CCPoolManager* pm = CCPoolManager::sharedPoolManager();
  Tracked* outer = new Tracked(&deaths);
  outer->autorelease();
  pm->push();
  Tracked* inner = new Tracked(&deaths);
  inner->autorelease();
  EXPECT_TRUE(pm->getCurReleasePool()->contains(inner));
  EXPECT_FALSE(pm->getCurReleasePool()->contains(outer));
  pm->pop();
  EXPECT_EQ(1, deaths);
  EXPECT_TRUE(pm->getCurReleasePool()->contains(outer));
  pm->pop();
  EXPECT_EQ(2, deaths);
}

TEST(ContainerTest, CopiedDictionaryHoldsCopiesOfItsValues) {
  CCDictionary* d = CCDictionary::create();
  d->setObject(CCString::create("v"), "k");
  CCDictionary* c = CCDictionary::createWithDictionary(d);
  ASSERT_NE(nullptr, c);
  EXPECT_STREQ("v", c->valueForKey("k")->getCString());
  EXPECT_NE(d->objectForKey("k"), c->objectForKey("k"));
  static_cast<CCString*>(c->objectForKey("k"))->m_sString = "changed";
  EXPECT_STREQ("v", d->valueForKey("k")->getCString());
  CCPoolManager::sharedPoolManager()->pop();
}

TEST(ContainerTest, ArrayRetainsWhatItHoldsAndReleasesOnRemoval) {
  int deaths = 0;
  CCArray* a = new CCArray();
  Tracked* t = new Tracked(&deaths);
  a->addObject(t);
  a->addObject(t);
  EXPECT_EQ(3u, t->retainCount());
  t->release();
  a->removeObjectAtIndex(0);
  EXPECT_EQ(0, deaths);
  EXPECT_EQ(0u, a->indexOfObject(t));
  a->removeObject(t);
  EXPECT_EQ(1, deaths);
  EXPECT_EQ(UINT_MAX, a->indexOfObject(t));
  EXPECT_EQ(nullptr, a->objectAtIndex(3));  // out of range: null, logged
  a->release();
}

TEST(ContainerTest, ArrayCreateTakesNullTerminatedListAndForeachVisitsInOrder) {
  CCArray* a = CCArray::create(CCString::create("a"), CCString::create("b"), CCString::create("c"), NULL);
  std::string seen;
  CCObject* o = nullptr;
  CCARRAY_FOREACH(a, o) { seen += static_cast<CCString*>(o)->getCString(); }
  CCARRAY_FOREACH_REVERSE(a, o) { seen += static_cast<CCString*>(o)->getCString(); }
  EXPECT_EQ("abccba", seen);
  a->insertObject(CCString::create("x"), 1);
  a->exchangeObjectAtIndex(0, 3);
  EXPECT_STREQ("c", static_cast<CCString*>(a->objectAtIndex(0))->getCString());
  EXPECT_STREQ("x", static_cast<CCString*>(a->objectAtIndex(1))->getCString());
  CCPoolManager::sharedPoolManager()->pop();
}

TEST(ContainerTest, DictionaryKeepsInsertionOrderReplacesAndRemovesWhileWalking) {
  CCDictionary* d = new CCDictionary();
  d->setObject(CCString::create("1"), "one");
  d->setObject(CCString::create("2"), "two");
  d->setObject(CCString::create("3"), "three");
  d->setObject(CCString::create("22"), "two");
  EXPECT_EQ(3u, d->count());
  EXPECT_EQ(22, d->valueForKey("two")->intValue());
  EXPECT_STREQ("", d->valueForKey("missing")->getCString());
  d->setObject(CCString::create("x"), (intptr_t)5);  // mixing key kinds is refused
  EXPECT_EQ(3u, d->count());

  std::string order;
  CCDictElement* el = nullptr;
  CCDICT_FOREACH(d, el) {
    order += el->getStrKey();
    order += ",";
    if (std::string(el->getStrKey()) == "two") d->removeObjectForElememt(el);
  }
  EXPECT_EQ("one,two,three,", order);
  EXPECT_EQ(nullptr, d->objectForKey("two"));
  EXPECT_EQ(2u, d->count());

  CCDictionary* ints = CCDictionary::create();
  ints->setObject(CCString::create("seven"), (intptr_t)7);
  EXPECT_STREQ("seven", ints->valueForKey((intptr_t)7)->getCString());
  EXPECT_EQ(nullptr, ints->objectForKey("7"));
  d->release();
  CCPoolManager::sharedPoolManager()->pop();
}

TEST(ContainerTest, SetHoldsEachObjectOnce) {
  CCSet* s = new CCSet();
  CCString* a = new CCString("a");
  s->addObject(a);
  s->addObject(a);
  EXPECT_EQ(1, s->count());
  EXPECT_EQ(2u, a->retainCount());
  CCSet* c = s->copy();
  EXPECT_TRUE(c->containsObject(a));
  s->removeObject(a);
  EXPECT_FALSE(s->containsObject(a));
  c->release();
  s->release();
  EXPECT_EQ(1u, a->retainCount());
  a->release();
}

struct StringCase {
  const char* text;
  int i;
  float f;
  bool b;
};
class StringValueTest : public ::testing::TestWithParam<StringCase> {};
TEST_P(StringValueTest, ConvertsLikeTheCLibrary) {
  CCString s(GetParam().text);
  EXPECT_EQ(GetParam().i, s.intValue());
  EXPECT_FLOAT_EQ(GetParam().f, s.floatValue());
  EXPECT_EQ(GetParam().b, s.boolValue());
}
INSTANTIATE_TEST_SUITE_P(Values, StringValueTest,
                         ::testing::Values(StringCase{"", 0, 0.f, false}, StringCase{"0", 0, 0.f, false},
                                           StringCase{"false", 0, 0.f, false},
                                           StringCase{"true", 0, 0.f, true},
                                           StringCase{"12", 12, 12.f, true},
                                           StringCase{"-3.5", -3, -3.5f, true},
                                           StringCase{"abc", 0, 0.f, true},
                                           // beyond int: held at its ends
                                           StringCase{"99999999999", 2147483647, 1e11f, true},
                                           StringCase{"-99999999999", -2147483647 - 1, -1e11f,
                                                      true}));

TEST(StringTest, CreateWithFormatFormatsLongText) {
  std::string longText(5000, 'z');
  CCString* s = CCString::createWithFormat("%d-%s-%s", 42, "x", longText.c_str());
  EXPECT_EQ("42-x-" + longText, s->m_sString);
  CCPoolManager::sharedPoolManager()->pop();
}

TEST(GeometryTest, RectContainsEdgesAndIntersectsTouchingRects) {
  CCRect r(0, 0, 10, 20);
  EXPECT_TRUE(r.containsPoint(ccp(0, 0)));
  EXPECT_TRUE(r.containsPoint(ccp(10, 20)));
  EXPECT_FALSE(r.containsPoint(ccp(10.01f, 5)));
  EXPECT_TRUE(r.intersectsRect(CCRectMake(10, 20, 5, 5)));
  EXPECT_FALSE(r.intersectsRect(CCRectMake(11, 0, 5, 5)));
  EXPECT_FLOAT_EQ(5.f, ccpDistance(ccp(0, 0), ccp(3, 4)));
  EXPECT_TRUE(ccpNormalize(ccp(0, 2)).equals(ccp(0, 1)));
}

TEST(GeometryTest, TransformConcatAppliesFirstThenSecondAndInvertUndoes) {
  CCAffineTransform scale = CCAffineTransformScale(CCAffineTransformIdentity, 2, 3);
  CCAffineTransform move = CCAffineTransformTranslate(CCAffineTransformIdentity, 10, 20);
  CCAffineTransform rot = CCAffineTransformRotate(CCAffineTransformIdentity, CC_DEGREES_TO_RADIANS(90));
  CCAffineTransform t = CCAffineTransformConcat(CCAffineTransformConcat(scale, rot), move);
  CCPoint p = CCPointApplyAffineTransform(ccp(1, 1), t);
  // (1,1) -> scale (2,3) -> rotate 90 ccw (-3,2) -> move (7,22)
  EXPECT_NEAR(7.f, p.x, 1e-4);
  EXPECT_NEAR(22.f, p.y, 1e-4);
  CCPoint back = CCPointApplyAffineTransform(p, CCAffineTransformInvert(t));
  EXPECT_NEAR(1.f, back.x, 1e-4);
  EXPECT_NEAR(1.f, back.y, 1e-4);
  CCRect box = CCRectApplyAffineTransform(CCRectMake(0, 0, 1, 1), t);
  EXPECT_NEAR(7.f, box.origin.x, 1e-4);
  EXPECT_NEAR(20.f, box.origin.y, 1e-4);
  EXPECT_NEAR(3.f, box.size.width, 1e-4);
  EXPECT_NEAR(2.f, box.size.height, 1e-4);
}

struct CodecCase {
  const char* in;
  const char* out;  // null: rejected
};
class Base64Test : public ::testing::TestWithParam<CodecCase> {};
TEST_P(Base64Test, DecodesOrRejects) {
  unsigned char* out = nullptr;
  const char* in = GetParam().in;
  int n = base64Decode((const unsigned char*)in, (unsigned int)strlen(in), &out);
  if (GetParam().out) {
    ASSERT_NE(nullptr, out);
    EXPECT_EQ(std::string(GetParam().out), std::string((char*)out, n));
  } else {
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(0, n);
  }
  free(out);
}
INSTANTIATE_TEST_SUITE_P(Cases, Base64Test,
                         ::testing::Values(CodecCase{"aGVsbG8=", "hello"}, CodecCase{"aGVs\nbG8h", "hello!"},
                                           CodecCase{"", ""}, CodecCase{"aGVsbG8=aGVs", nullptr},
                                           CodecCase{"aGVsb", nullptr}));

TEST(ZipTest, InflatesZlibAndGzipAndRejectsCorruptData) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "mirror ";
  for (int windowBits : {15, 15 + 16}) {
    z_stream s = {};
    ASSERT_EQ(Z_OK, deflateInit2(&s, 9, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY));
    std::string packed(compressBound((uLong)text.size()) + 64, '\0');
    s.next_in = (Bytef*)text.data();
    s.avail_in = (uInt)text.size();
    s.next_out = (Bytef*)&packed[0];
    s.avail_out = (uInt)packed.size();
    ASSERT_EQ(Z_STREAM_END, deflate(&s, Z_FINISH));
    packed.resize(s.total_out);
    deflateEnd(&s);

    unsigned char* out = nullptr;
    int n = ccInflateMemory((unsigned char*)packed.data(), (unsigned int)packed.size(), &out);
    ASSERT_EQ((int)text.size(), n);
    EXPECT_EQ(0, memcmp(out, text.data(), n));
    free(out);

    std::string cut = packed.substr(0, packed.size() / 2);
    n = ccInflateMemory((unsigned char*)cut.data(), (unsigned int)cut.size(), &out);
    EXPECT_LT(n, 0);
    EXPECT_EQ(nullptr, out);
  }
}

// Plist parsing from files written by the test.
class PlistTest : public ::testing::Test {
 protected:
  void SetUp() override { logog::Initialize(); }
  void TearDown() override {
    CCPoolManager::sharedPoolManager()->pop();
    logog::Shutdown();
    for (const std::string& path : written) std::remove(path.c_str());
  }
  std::string write(const std::string& body) {
    // ctest runs every case in its own process at once (and other checkouts may run
    // too): the process id keeps their files apart.
    std::string path = ::testing::TempDir() + "mv_plist_" + std::to_string(getpid()) + "_" +
                       std::to_string(counter++) + ".plist";
    std::ofstream(path) << body;
    written.push_back(path);
    return path;
  }
  int counter = 0;
  std::vector<std::string> written;
};

TEST_F(PlistTest, ReadsEveryValueKindIntoContainersAndStrings) {
  std::string path = write(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
      "<key>name</key><string>tower</string><key>count</key><integer> 40 </integer>"
      "<key>scale</key><real>0.5</real><key>on</key><true/><key>off</key><false/>"
      "<key>when</key><date>2020-01-01T00:00:00Z</date><key>blob</key><data>aGVs\n bG8=</data>"
      "<key>list</key><array><string>a</string><dict><key>k</key><string>v</string></dict></array>"
      "</dict></plist>");
  CCDictionary* d = CCDictionary::createWithContentsOfFile(path.c_str());
  ASSERT_NE(nullptr, d);
  EXPECT_STREQ("tower", d->valueForKey("name")->getCString());
  EXPECT_EQ(40, d->valueForKey("count")->intValue());
  EXPECT_FLOAT_EQ(0.5f, d->valueForKey("scale")->floatValue());
  EXPECT_TRUE(d->valueForKey("on")->boolValue());
  EXPECT_FALSE(d->valueForKey("off")->boolValue());
  EXPECT_STREQ("2020-01-01T00:00:00Z", d->valueForKey("when")->getCString());
  EXPECT_STREQ("aGVsbG8=", d->valueForKey("blob")->getCString());
  CCArray* list = dynamic_cast<CCArray*>(d->objectForKey("list"));
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(2u, list->count());
  CCDictionary* inner = dynamic_cast<CCDictionary*>(list->objectAtIndex(1));
  ASSERT_NE(nullptr, inner);
  EXPECT_STREQ("v", inner->valueForKey("k")->getCString());

  std::string arr = write("<plist><array><integer>1</integer><integer>2</integer></array></plist>");
  CCArray* a = CCArray::createWithContentsOfFile(arr.c_str());
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(2u, a->count());
}

class MalformedPlistTest : public PlistTest, public ::testing::WithParamInterface<const char*> {};
TEST_P(MalformedPlistTest, GivesNullAndLogsALine) {
  logog::StringTarget target;
  std::string path = write(GetParam());
  EXPECT_EQ(nullptr, CCDictionary::createWithContentsOfFile(path.c_str()));
  EXPECT_FALSE(target.Lines().empty());
}
INSTANTIATE_TEST_SUITE_P(Files, MalformedPlistTest,
                         ::testing::Values("", "<plist><dict><key>a</key>", "not xml at all",
                                           "<html><dict/></html>", "<plist></plist>",
                                           "<plist><dict><key>a</key></dict></plist>",
                                           "<plist><dict><string>v</string></dict></plist>",
                                           "<plist><dict><key>a</key><bogus/></dict></plist>",
                                           "<plist><array><string>a</string></array></plist>"));

TEST_F(PlistTest, RelativeNamesAreReadFromTheResourceFolder) {
  std::string path = write("<plist><array><string>x</string></array></plist>");
  std::string folder = path.substr(0, path.rfind('/') + 1);
  std::string name = path.substr(path.rfind('/') + 1);
  CCFileUtils* files = CCFileUtils::sharedFileUtils();
  std::string old = files->getResourceDirectory();
  files->setResourceDirectory(folder);
  CCArray* a = CCArray::createWithContentsOfFile(name.c_str());
  files->setResourceDirectory(old);
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(1u, a->count());
}

TEST_F(PlistTest, MissingFileGivesNullAndLogsALine) {
  logog::StringTarget target;
  EXPECT_EQ(nullptr, CCDictionary::createWithContentsOfFile("/nonexistent/mv.plist"));
  EXPECT_EQ(nullptr, CCArray::createWithContentsOfFile(nullptr));
  EXPECT_GE(target.Lines().size(), 2u);
}

// A folder where a file is expected: every reader refuses it with a log line (a folder
// opens like a file on Linux and claims an absurd length).
struct FolderReader {
  const char* what;
  bool (*reads)(const char* path);
};
class FolderAsFileTest : public PlistTest, public ::testing::WithParamInterface<FolderReader> {};
TEST_P(FolderAsFileTest, IsRefusedWithALogLine) {
  logog::StringTarget target;
  std::string folder = ::testing::TempDir();
  EXPECT_FALSE(GetParam().reads(folder.c_str())) << GetParam().what;
  bool logged = false;
  for (const std::string& line : target.Lines()) logged = logged || line.find("is not a file") != std::string::npos;
  EXPECT_TRUE(logged) << GetParam().what;
}
INSTANTIATE_TEST_SUITE_P(
    Readers, FolderAsFileTest,
    ::testing::Values(
        FolderReader{"file data",
                     [](const char* p) {
                       unsigned long size = 7;
                       unsigned char* data = CCFileUtils::sharedFileUtils()->getFileData(p, "rb", &size);
                       delete[] data;
                       return data != nullptr || size != 0;
                     }},
        FolderReader{"plist", [](const char* p) { return CCDictionary::createWithContentsOfFile(p) != nullptr; }},
        FolderReader{"text", [](const char* p) { return CCString::createWithContentsOfFile(p) != nullptr; }},
        FolderReader{"gzip file", [](const char* p) {
                       unsigned char* out = nullptr;
                       int n = ccInflateGZipFile(p, &out);
                       free(out);
                       return n >= 0;
                     }}));

}  // namespace
