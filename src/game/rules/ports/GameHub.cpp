#include "ports/GameHub.h"

void RecordingGameHub::showIntroMessage(const std::string& text) {
  Call c("showIntroMessage");
  c.text = text;
  add(c);
}

ChoiceOutcome RecordingGameHub::submitChoice(const Choice& choice) {
  Call c(choiceName(choice.kind), choice.player);
  c.card = choice.card;
  if (choice.kind == Choice::Kind::Spell) c.power = choice.power;
  c.elem = choice.elem;
  add(c);
  return acceptChoices ? ChoiceOutcome::Taken : ChoiceOutcome::Declined;
}

std::vector<RecordingGameHub::Call> RecordingGameHub::callsOf(const std::string& what) const {
  std::vector<Call> out;
  for (const Call& c : calls_)
    if (c.what == what) out.push_back(c);
  return out;
}
