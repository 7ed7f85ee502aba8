// The cross-promotion page: a query describing this machine and its screen, sent to the
// maker's page of more games in the browser. Nothing comes back from the page.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// printf into a buffer of `size` bytes, cut at the buffer's end and always terminated; a
// size of 0 writes nothing. Returns the length the whole text would have had.
int formatString(char* buffer, std::size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

class MoreGames {
 public:
  // What the query tells about the machine.
  struct SystemFacts {
    std::string osVersion;  // "major.minor"
    int screenWidth = 0;
    int screenHeight = 0;
  };

  static constexpr const char* kProductCode = "MV";
  static constexpr const char* kSecretKey =
      "7e3a91c05fd2b8846a0c1e5f93d27b6a18e4c0f5a9d3b27e6c81f04a5d9e2b37";
  static constexpr const char* kBaseAddress = "https://www.brindlecor.example";
  // The file in the data folder that keeps the device id.
  static constexpr const char* kDeviceIdFile = "device_id";

  // The one object, made with empty strings on first use.
  static MoreGames* sharedMoreGames();

  // Stores both, then takes the device id from the data folder, making it there once.
  void setup(const std::string& productCode, const std::string& secretKey);
  // The query for this machine now (its screen may have changed since the last one).
  std::string buildQuery() const;
  // Opens the page with the query in the browser; false when it could not be opened.
  bool openPage() const;

  const std::string& udid() const { return udid_; }
  const std::string& productCode() const { return productCode_; }

  // The query of fixed format for the given facts; cut at 1023 bytes, nothing escaped.
  static std::string formatQuery(const SystemFacts& facts, const std::string& productCode,
                                 const std::string& udid, const std::string& secretKey);
  // base + "/moregames?" + query, cut at 1023 bytes.
  static std::string pageAddress(const std::string& base, const std::string& query);
  // This machine: the kernel's version and the primary display's size in pixels.
  static SystemFacts systemFacts();
  // Six pairs of upper-case hexadecimal digits joined by colons.
  static bool isDeviceId(const std::string& text);
  // A new id from random bytes. The multicast bit of the first byte is set, as for node ids
  // that are not a network adapter's address, so it never names real hardware.
  static std::string makeDeviceId();
  // The id kept in `path`; a missing or unreadable one is made and written there (a failed
  // write is logged, and the id serves for this run).
  static std::string loadOrMakeDeviceId(const std::string& path);

  // Tests: where the id is kept (default: the data folder), and what opens the browser.
  void setDeviceIdPath(const std::string& path) { deviceIdPath_ = path; }
  void setPageOpener(std::function<bool(const std::string&)> opener) { opener_ = std::move(opener); }

 private:
  std::string udid_;
  std::string productCode_;
  std::string secretKey_;
  std::string deviceIdPath_;
  std::function<bool(const std::string&)> opener_;
};
