// The log manager: sets up the console and file targets of the logging library, names the
// log file of this start and owns the run marker.
#pragma once

#include <memory>
#include <string>

#include "logog/logog.hpp"

class LogMgr {
 public:
  static LogMgr& instance();

  // Starts the logging library; the first thing the program does. Until init, lines are
  // kept in memory (the first kMaxEarlyLines of them).
  static void initLogog();
  static const size_t kMaxEarlyLines = 1000;

  // Console target plus one log file per start, both with the GCC-style formatter; the
  // lines kept since initLogog are written to both first.
  // Always true: a log file that cannot be opened leaves the console working.
  bool init();

  // The local time as "%y-%m-%d %H-%M".
  static std::string timestamp();

  // "mv_running" in the data folder; it marks a running game.
  static std::string runMarkerPath();
  static void createRunMarker();
  static void removeRunMarker();

  // Removes the run marker, then stops the logging library. Lines kept since initLogog
  // that never reached a target (init did not run) go to standard error.
  void shutdown();

  static bool isCastleUILayer(const std::string& className);

  // The file this start logs to (empty before init).
  const std::string& logFilePath() const { return logFilePath_; }
  bool fileTargetOpen() const { return file_ && file_->IsOpen(); }

 private:
  std::unique_ptr<logog::FormatterGCC> formatter_;
  std::unique_ptr<logog::Cout> console_;
  std::unique_ptr<logog::LogFile> file_;
  std::string logFilePath_;
};
