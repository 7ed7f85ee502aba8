// What the running game asks of the network: whether this machine hosts the
// match, registration and destruction of replicated objects, and the start of
// a turn. The network object implements it; offline games use the null link.
#pragma once


class Player;
class Board;
class BoardElem;

class MatchLink {
 public:
  virtual ~MatchLink() = default;
  virtual bool isServer() const { return false; }
  virtual void referenceReplica(Player&) {}
  virtual void referenceReplica(Board&) {}
  virtual void referenceReplica(BoardElem&) {}
  // Tells the other machine the object is going away (before it is deleted).
  virtual void destroyReplica(Player&) {}
  virtual void destroyReplica(Board&) {}
  virtual void destroyReplica(BoardElem&) {}
  virtual void sendTurnBegin() {}
};

class NullMatchLink : public MatchLink {};

// Counts what was registered and destroyed; hosting is settable.
class RecordingMatchLink : public MatchLink {
 public:
  bool hosting = false;
  int referencedPlayers = 0, referencedBoards = 0, referencedElems = 0;
  int destroyedPlayers = 0, destroyedBoards = 0, destroyedElems = 0;
  int turnBegins = 0;

  bool isServer() const override { return hosting; }
  void referenceReplica(Player&) override { ++referencedPlayers; }
  void referenceReplica(Board&) override { ++referencedBoards; }
  void referenceReplica(BoardElem&) override { ++referencedElems; }
  void destroyReplica(Player&) override { ++destroyedPlayers; }
  void destroyReplica(Board&) override { ++destroyedBoards; }
  void destroyReplica(BoardElem&) override { ++destroyedElems; }
  void sendTurnBegin() override { ++turnBegins; }
};
