#include "ports/GameHub.h"

void RecordingGameHub::showIntroMessage(const std::string& text) {
  Call c("showIntroMessage");
  c.text = text;
  add(c);
}

bool RecordingGameHub::aiSelectCard(Player& p, int cardId) {
  Call c("aiSelectCard", &p);
  c.card = cardId;
  add(c);
  return acceptChoices;
}

bool RecordingGameHub::aiSelectSpell(Player& p, int cardId, int power) {
  Call c("aiSelectSpell", &p);
  c.card = cardId;
  c.power = power;
  add(c);
  return acceptChoices;
}

bool RecordingGameHub::aiSelectTarget(Player& p, BoardElem* e) {
  Call c("aiSelectTarget", &p);
  c.elem = e;
  add(c);
  return acceptChoices;
}

bool RecordingGameHub::aiFinishCards(Player& p) {
  add(Call("aiFinishCards", &p));
  return acceptChoices;
}

void RecordingGameHub::aiFinishSpells(Player& p) { add(Call("aiFinishSpells", &p)); }

void RecordingGameHub::aiCancel(Player& p) { add(Call("aiCancel", &p)); }

std::vector<RecordingGameHub::Call> RecordingGameHub::callsOf(const std::string& what) const {
  std::vector<Call> out;
  for (const Call& c : calls_)
    if (c.what == what) out.push_back(c);
  return out;
}
