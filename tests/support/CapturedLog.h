// Collects the log lines written while it lives (GCC-style format), for tests
// that check what was logged.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "logog/logog.hpp"

class CapturedLog {
 public:
  CapturedLog() {
    logog::Initialize();
    target_ = std::make_unique<logog::StringTarget>();
    target_->SetFormatter(formatter_);
  }
  ~CapturedLog() {
    target_.reset();
    logog::Shutdown();
  }
  CapturedLog(const CapturedLog&) = delete;
  CapturedLog& operator=(const CapturedLog&) = delete;

  std::vector<std::string> lines() const { return target_->Lines(); }
  // The lines holding `text`.
  std::vector<std::string> find(const std::string& text) const {
    std::vector<std::string> out;
    for (const std::string& l : target_->Lines())
      if (l.find(text) != std::string::npos) out.push_back(l);
    return out;
  }
  int count(const std::string& text) const { return static_cast<int>(find(text).size()); }
  bool has(const std::string& text) const { return count(text) > 0; }

 private:
  logog::FormatterGCC formatter_;
  std::unique_ptr<logog::StringTarget> target_;
};
