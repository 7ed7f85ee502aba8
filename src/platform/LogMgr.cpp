#include "LogMgr.h"

#include <cstdio>
#include <ctime>

#include "CCFileUtils.h"
#include "Folders.h"

LogMgr& LogMgr::instance() {
  static LogMgr mgr;
  return mgr;
}

void LogMgr::initLogog() { LOGOG_INITIALIZE(); }

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
  if (!file_->IsOpen()) LOGOG_ERROR("Cannot open the log file %s", logFilePath_.c_str());
  return true;
}

void LogMgr::shutdown() {
  removeRunMarker();
  LOGOG_SHUTDOWN();
  file_.reset();
  console_.reset();
  formatter_.reset();
}

bool LogMgr::isCastleUILayer(const std::string& className) { return className == "CastleUILayer"; }
