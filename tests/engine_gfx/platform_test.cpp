#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "CCApplication.h"
#include "CCCommon.h"
#include "CCFileUtils.h"
#include "CCGLMatrix.h"
#include "gfx_test_util.h"
#include "logog/logog.hpp"

using namespace cocos2d;

namespace {

bool isDir(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class EnvGuard {
 public:
  explicit EnvGuard(const char* name) : name_(name) {
    const char* v = std::getenv(name);
    had_ = v != nullptr;
    if (had_) old_ = v;
  }
  ~EnvGuard() {
    if (had_) setenv(name_, old_.c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

TEST(FileUtilsTest, DataAndLogFoldersLieUnderXdgDataHomeAndAreCreated) {
  EnvGuard xdg("XDG_DATA_HOME");
  std::string home = gfxtest::makeTempDir("xdg");
  setenv("XDG_DATA_HOME", home.c_str(), 1);
  CCFileUtils::setApplicationFolders("Studio", "Game");
  CCFileUtils* fu = CCFileUtils::sharedFileUtils();
  EXPECT_EQ(fu->getWriteablePath(), home + "Studio/Game/");
  EXPECT_EQ(fu->getLogDirectory(), home + "Studio/Game/log/");
  EXPECT_TRUE(isDir(home + "Studio/Game/log"));
  struct stat st;
  ASSERT_EQ(stat((home + "Studio/Game").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(FileUtilsTest, WithoutXdgDataHomeTheFolderIsBelowHome) {
  EnvGuard xdg("XDG_DATA_HOME");
  EnvGuard homeGuard("HOME");
  std::string home = gfxtest::makeTempDir("home");
  unsetenv("XDG_DATA_HOME");
  setenv("HOME", home.c_str(), 1);
  CCFileUtils::setApplicationFolders("Studio", "Game");
  EXPECT_EQ(CCFileUtils::sharedFileUtils()->getWriteablePath(), home + ".local/share/Studio/Game/");
}

TEST(FileUtilsTest, ResourcesResolveBesideTheExecutable) {
  CCFileUtils* fu = CCFileUtils::sharedFileUtils();
  std::string exeDir = fu->getExecutableDirectory();
  ASSERT_FALSE(exeDir.empty());
  EXPECT_EQ(exeDir.back(), '/');
  EXPECT_EQ(fu->fullPathForFilename("sprites/a.plist"), fu->getResourceDirectory() + "sprites/a.plist");
  EXPECT_EQ(fu->fullPathForFilename("/abs/b.png"), "/abs/b.png");
  EXPECT_STREQ(fu->fullPathFromRelativeFile("b.png", "/x/sheets/a.plist"), "/x/sheets/b.png");
}

TEST(FileUtilsTest, FileDataRemoveFileAndMissingFiles) {
  std::string dir = gfxtest::makeTempDir("data");
  gfxtest::writeText(dir + "f.bin", std::string("ab\0cd", 5));
  CCFileUtils* fu = CCFileUtils::sharedFileUtils();
  unsigned long size = 0;
  unsigned char* data = fu->getFileData((dir + "f.bin").c_str(), "rb", &size);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(data[3], 'c');
  delete[] data;
  fu->removeFile(dir + "f.bin");
  EXPECT_EQ(fu->getFileData((dir + "f.bin").c_str(), "rb", &size), nullptr);
  EXPECT_EQ(size, 0u);
  fu->removeFile(dir + "never-there");  // harmless
}

class EngineLogTest : public ::testing::Test {
 protected:
  void SetUp() override { logog::Initialize(); }
  void TearDown() override { logog::Shutdown(); }
};

TEST_F(EngineLogTest, LevelsAndGroupOfTheEngineLogFunctions) {
  logog::StringTarget target;
  CCLog("plain %d", 1);
  CCLogInfo("info");
  CCLogWarning("warn");
  CCLogError("error");
  auto lines = target.Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[0].find("info: {cocos2d} [] plain 1"), std::string::npos);
  EXPECT_NE(lines[1].find("info: {cocos2d} [] info"), std::string::npos);
  EXPECT_NE(lines[2].find("warning: {cocos2d} [] warn"), std::string::npos);
  EXPECT_NE(lines[3].find("error: {cocos2d} [] error"), std::string::npos);
}

TEST_F(EngineLogTest, LongTextIsCutAt16383Bytes) {
  logog::StringTarget target;
  std::string text(20000, 'x');
  CCLog("%s", text.c_str());
  auto lines = target.Lines();
  ASSERT_EQ(lines.size(), 1u);
  size_t start = lines[0].find("] ") + 2;
  EXPECT_EQ(lines[0].size() - start - 1, 16383u);  // without the line feed
}

TEST_F(EngineLogTest, WebPagesOpenOnlyAsWebAddressesAndAFailedOpenSaysSo) {
  EXPECT_TRUE(CCApplication::isWebAddress("https://example.org/page?a=1"));
  EXPECT_TRUE(CCApplication::isWebAddress("http://example.org"));
  for (const char* refused : {"file:///etc/passwd", "javascript:alert(1)", "https://",
                              "https://a.org/\nrm -rf", "-https://a.org", "ftp://example.org"}) {
    EXPECT_FALSE(CCApplication::isWebAddress(refused)) << refused;
    EXPECT_FALSE(CCApplication::openURL(refused)) << refused;
  }
  // The browser is whatever xdg-open the PATH finds: none at all, then one that notes its
  // argument.
  EnvGuard path("PATH");
  std::string dir = gfxtest::makeTempDir("opener");
  setenv("PATH", dir.c_str(), 1);
  logog::StringTarget target;
  EXPECT_FALSE(CCApplication::openURL("https://example.org/none"));
  ASSERT_EQ(target.Lines().size(), 1u);
  EXPECT_NE(target.Lines()[0].find("error: {cocos2d} [] Cannot open https://example.org/none: no "
                                   "browser could be started"),
            std::string::npos)
      << target.Lines()[0];
  gfxtest::writeText(dir + "xdg-open", "#!/bin/sh\necho \"$1\" > \"$0.opened\"\n");
  chmod((dir + "xdg-open").c_str(), 0700);
  EXPECT_TRUE(CCApplication::openURL("https://example.org/page"));
  std::string opened;
  for (int i = 0; i < 500 && opened.empty(); ++i) {  // the opener runs on its own
    std::ifstream in(dir + "xdg-open.opened");
    std::getline(in, opened);
    if (opened.empty()) usleep(10000);
  }
  EXPECT_EQ(opened, "https://example.org/page");
  EXPECT_EQ(target.Lines().size(), 1u);
}

TEST(MatrixStackTest, OrthographicProjectionMapsTheWindowToClipSpace) {
  kmMat4 ortho;
  kmMat4OrthographicProjection(&ortho, 0, 1024, 0, 768, -1024, 1024);
  float x = 0, y = 0, z = 0;
  kmMat4TransformPoint(&ortho, &x, &y, &z);
  EXPECT_FLOAT_EQ(x, -1);
  EXPECT_FLOAT_EQ(y, -1);
  x = 1024, y = 768, z = 0;
  kmMat4TransformPoint(&ortho, &x, &y, &z);
  EXPECT_FLOAT_EQ(x, 1);
  EXPECT_FLOAT_EQ(y, 1);
}

TEST(MatrixStackTest, PushMultiplyPopRestoresAndUnderflowIsHarmless) {
  kmGLMatrixMode(KM_GL_MODELVIEW);
  kmGLLoadIdentity();
  kmGLPushMatrix();
  kmGLTranslatef(10, 20, 0);
  kmGLScalef(2, 2, 1);
  kmMat4 m;
  kmGLGetMatrix(KM_GL_MODELVIEW, &m);
  float x = 1, y = 1, z = 0;
  kmMat4TransformPoint(&m, &x, &y, &z);  // scaled first, then moved
  EXPECT_FLOAT_EQ(x, 12);
  EXPECT_FLOAT_EQ(y, 22);
  kmGLPopMatrix();
  kmGLGetMatrix(KM_GL_MODELVIEW, &m);
  EXPECT_FLOAT_EQ(m.mat[12], 0);
  kmGLPopMatrix();  // one too many: logged, the stack keeps its matrix
  EXPECT_EQ(kmGLStackDepth(KM_GL_MODELVIEW), 1);
}

}  // namespace
