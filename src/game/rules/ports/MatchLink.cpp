#include "ports/MatchLink.h"

#include "player/AnimateSpellEvent.h"

void RecordingMatchLink::sendAnimateSpell(const AnimateSpellEvent& record) {
  add("sendAnimateSpell", {record.card, record.power});
}

std::vector<std::string> RecordingMatchLink::sentNames() const {
  std::vector<std::string> out;
  for (const Sent& s : sent_) out.push_back(s.what);
  return out;
}

std::size_t RecordingMatchLink::count(const std::string& what) const {
  std::size_t n = 0;
  for (const Sent& s : sent_)
    if (s.what == what) ++n;
  return n;
}
