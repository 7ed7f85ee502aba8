#include "GameScreen.h"

void RecordingGameScreen::add(const char* what, std::string text, std::string subtext,
                              std::vector<int> values, const BoardElem* elem) {
  Call c;
  c.what = what;
  c.text = std::move(text);
  c.subtext = std::move(subtext);
  c.values = std::move(values);
  c.elem = elem;
  calls_.push_back(std::move(c));
}

void RecordingGameScreen::chooseTarget(const std::vector<BoardElem*>& candidates,
                                       const std::string& text, const std::string& subtext) {
  add("chooseTarget", text, subtext, {static_cast<int>(candidates.size())});
  calls_.back().elems = candidates;
}

void RecordingGameScreen::setSpellList(const std::vector<StoredCard>& spells) {
  std::vector<int> values;
  for (const StoredCard& s : spells) {
    values.push_back(s.first);
    values.push_back(s.second);
  }
  add("setSpellList", {}, {}, std::move(values));
}

std::vector<RecordingGameScreen::Call> RecordingGameScreen::callsOf(const std::string& what) const {
  std::vector<Call> out;
  for (const Call& c : calls_)
    if (c.what == what) out.push_back(c);
  return out;
}

std::size_t RecordingGameScreen::count(const std::string& what) const {
  std::size_t n = 0;
  for (const Call& c : calls_)
    if (c.what == what) ++n;
  return n;
}

std::vector<std::string> RecordingGameScreen::callNames() const {
  std::vector<std::string> out;
  for (const Call& c : calls_) out.push_back(c.what);
  return out;
}
