#include "test_util.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "CCAutoreleasePool.h"

namespace mvtest {

namespace {
// Autoreleased objects die at the end of each test, as they would at the end of a frame.
class DrainPool : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    cocos2d::CCPoolManager::sharedPoolManager()->pop();
  }
};
const bool registered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new DrainPool);
  return true;
}();
}  // namespace

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "mvtestXXXXXX").string();
  char* made = mkdtemp(pattern.data());
  m_path = made ? made : pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::file(const std::string& name) const { return m_path + "/" + name; }

bool TempDir::write(const std::string& name, const std::string& bytes) const {
  std::filesystem::path p(file(name));
  std::error_code ec;
  std::filesystem::create_directories(p.parent_path(), ec);
  std::ofstream out(p, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

LogCapture::LogCapture() {
  if (!logog::IsInitialized()) logog::Initialize();
  logog::SetDefaultLevel(logog::LOGOG_LEVEL_ALL);
  m_target = new logog::StringTarget();
}

LogCapture::~LogCapture() { delete m_target; }

bool LogCapture::contains(const std::string& text) const { return count(text) > 0; }

int LogCapture::count(const std::string& text) const {
  int n = 0;
  for (const auto& line : m_target->Lines())
    if (line.find(text) != std::string::npos) ++n;
  return n;
}

std::string LogCapture::all() const {
  std::string s;
  for (const auto& line : m_target->Lines()) s += line;
  return s;
}

}  // namespace mvtest
