#include "LogMgr.h"

#include <cstdio>
#include <ctime>
#include <vector>

#include "CCFileUtils.h"
#include "Folders.h"

namespace {

// What is logged before the log's own targets exist: a failed start would otherwise leave
// no trace of why.
class EarlyLines : public logog::Target {
 public:
  ~EarlyLines() override { Detach(); }
  void leave() { Detach(); }
  std::vector<std::string> lines;
  size_t dropped = 0;

 protected:
  void Output(const std::string& line) override {
    if (lines.size() < LogMgr::kMaxEarlyLines) lines.push_back(line);
    else ++dropped;
  }
};

std::unique_ptr<EarlyLines>& earlyLines() {
  static std::unique_ptr<EarlyLines> early;
  return early;
}

// Ends the keeping (the target leaves the library first, so no line comes in meanwhile) and
// hands the kept lines on.
std::vector<std::string> takeEarlyLines() {
  std::unique_ptr<EarlyLines> early = std::move(earlyLines());
  if (!early) return {};
  early->leave();
  std::vector<std::string> lines = std::move(early->lines);
  size_t dropped = early->dropped;
  early.reset();
  if (dropped > 0)
    lines.push_back("(" + std::to_string(dropped) + " more lines logged before the log was set up are lost)\n");
  return lines;
}

}  // namespace

LogMgr& LogMgr::instance() {
  static LogMgr mgr;
  return mgr;
}

void LogMgr::initLogog() {
  LOGOG_INITIALIZE();
  if (!earlyLines()) earlyLines() = std::make_unique<EarlyLines>();
}

std::string LogMgr::timestamp() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[32];
  std::strftime(buf, sizeof buf, "%y-%m-%d %H-%M", &local);
  return buf;
}

std::string LogMgr::runMarkerPath() { return mv::dataFolder() + "mv_running"; }

void LogMgr::createRunMarker() {
  if (std::FILE* f = std::fopen(runMarkerPath().c_str(), "wb")) std::fclose(f);
}

void LogMgr::removeRunMarker() { cocos2d::CCFileUtils::sharedFileUtils()->removeFile(runMarkerPath()); }

bool LogMgr::init() {
  createRunMarker();
  const std::string folder = mv::logFolder();
  formatter_ = std::make_unique<logog::FormatterGCC>();
  console_ = std::make_unique<logog::Cout>();
  console_->SetFormatter(*formatter_);
  logFilePath_ = folder + "mv_" + timestamp() + ".log";
  file_ = std::make_unique<logog::LogFile>(logFilePath_.c_str());
  file_->SetFormatter(*formatter_);
  for (const std::string& line : takeEarlyLines()) {
    console_->Write(line);
    file_->Write(line);
  }
  if (!file_->IsOpen()) LOGOG_ERROR("Cannot open the log file %s", logFilePath_.c_str());
  return true;
}

void LogMgr::shutdown() {
  for (const std::string& line : takeEarlyLines()) std::fputs(line.c_str(), stderr);
  removeRunMarker();
  LOGOG_SHUTDOWN();
  file_.reset();
  console_.reset();
  formatter_.reset();
}

bool LogMgr::isCastleUILayer(const std::string& className) { return className == "CastleUILayer"; }
