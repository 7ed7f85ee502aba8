// A player's choice as one value: what was chosen, by whom, and from where.
// The game screen, the store, the other machine and the computer player all
// hand the hub one of these; the running game checks it against the rules
// before the player acts on it (GameSession::takeChoice).
#pragma once

class BoardElem;
class Player;

struct Choice {
  enum class Kind {
    Card,          // a card of the hand, to be placed
    Spell,         // a stored spell (card and power)
    Element,       // an offered element: a placement or a spell's target
    FinishCards,   // the end of the card phase
    FinishSpells,  // the end of a spell phase
    EndPhase,      // the end of whichever phase the player is in (the screen's button)
    Cancel,        // back out of a placement or a target choice
  };
  // Where it was made: this machine's screen, the store's try-out (any product,
  // in any state: the sandbox's own rule), the other machine (on the host), or
  // the computer player.
  enum class From { Screen, Store, Remote, Computer };

  Kind kind = Kind::Cancel;
  Player* player = nullptr;  // the chooser; null when there is none (no game)
  From from = From::Screen;
  int card = -1;
  int power = 0;
  BoardElem* elem = nullptr;
  // The player a spell is cast on; null: the rules' target (Player::spellTargetFor).
  Player* target = nullptr;

  static Choice of(Kind kind, Player* player, From from) {
    Choice c;
    c.kind = kind;
    c.player = player;
    c.from = from;
    return c;
  }
  static Choice pickCard(Player* player, From from, int card) {
    Choice c = of(Kind::Card, player, from);
    c.card = card;
    return c;
  }
  static Choice pickSpell(Player* player, From from, int card, int power,
                          Player* target = nullptr) {
    Choice c = of(Kind::Spell, player, from);
    c.card = card;
    c.power = power;
    c.target = target;
    return c;
  }
  static Choice pickElement(Player* player, From from, BoardElem* elem) {
    Choice c = of(Kind::Element, player, from);
    c.elem = elem;
    return c;
  }

  // Made on this machine by its person (the screen or the store).
  bool madeHere() const { return from == From::Screen || from == From::Store; }
  // Ends a phase, of whichever kind.
  bool endsPhase() const {
    return kind == Kind::FinishCards || kind == Kind::FinishSpells || kind == Kind::EndPhase;
  }
};

// What became of a choice: refused by the rules' check (nothing happened),
// declined by the player's own operation (it may have shown why), taken, or
// held: on the joining side of a match it waits for the host's answer to an
// earlier choice and is taken (or refused) in its turn.
enum class ChoiceOutcome { Refused, Declined, Taken, Held };

// The choice's kind in log lines ("card choice", "end of a spell phase" ...).
const char* choiceName(Choice::Kind kind);
