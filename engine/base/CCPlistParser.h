#pragma once

#include <string>

#include "CCObject.h"

NS_CC_BEGIN

class CCArray;
class CCDictionary;

// Turns a file name as the game passes it into a path to open: by default the file
// utilities' full path (relative names are taken from the resource folder); a resolver
// installed here takes its place.
typedef std::string (*CCFilePathResolver)(const char* pszFileName);
void ccSetFilePathResolver(CCFilePathResolver resolver);
std::string ccResolveFilePath(const char* pszFileName);

// Reads a whole file (resolved as above); false and a log line when it cannot be read.
bool ccReadWholeFile(const char* pszFileName, std::string& out);

// Property-list reader: dict -> CCDictionary, array -> CCArray, every scalar (string,
// integer, real, true, false, date, data) -> CCString holding its text ("1"/"0" for booleans).
// Results are retained (not autoreleased); null and a log line for a malformed file.
class CCPlistParser {
 public:
  static CCDictionary* dictionaryWithContentsOfFile(const char* pFileName);
  static CCArray* arrayWithContentsOfFile(const char* pFileName);
  static CCDictionary* dictionaryWithData(const char* data, unsigned int length, const char* name);
  static CCArray* arrayWithData(const char* data, unsigned int length, const char* name);

 private:
  static CCObject* parse(const char* data, unsigned int length, const char* name);
};

NS_CC_END
