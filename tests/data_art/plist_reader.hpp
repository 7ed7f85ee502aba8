// A small property-list reader for the data checks (libxml2): dictionaries,
// arrays, strings and numbers.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

struct PNode {
    enum Kind { Dict, Array, String, Integer, Real, Bool } kind = String;
    std::string text;  // strings, and numbers as written
    std::map<std::string, std::shared_ptr<PNode>> dict;
    std::vector<std::shared_ptr<PNode>> array;
    const PNode* get(const std::string& key) const;
    double number() const;
};

// Null when the file is missing or not a property list.
std::shared_ptr<PNode> readPlist(const std::string& path);
// "{{x,y},{w,h}}" or "{w,h}": the integers in order.
std::vector<int> plistInts(const std::string& s);
