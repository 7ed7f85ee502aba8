// What a player asks of the game it belongs to: the turn, who is local, the
// opponent, the mode's flags and the cards to deal. The running game implements
// it; FixedSession is a settable one for tests and tools.
#pragma once

#include <map>
#include <vector>

#include "player/GameLife.h"


class Player;

class PlayerSession {
 public:
  virtual ~PlayerSession() = default;
  virtual int turn() const = 0;
  virtual bool online() const = 0;
  virtual bool isLocal(const Player& p) const = 0;
  // The local player when given another, else the enemy player.
  virtual Player* otherPlayer(const Player& p) const = 0;
  virtual bool tutorialRunning() const = 0;
  virtual bool sandbox() const = 0;
  virtual std::vector<int> cardList(const Player& p) = 0;
  // The token of the running game; spell effects finishing later are dropped
  // once it has expired.
  virtual GameToken gameToken() const = 0;
};

class FixedSession : public PlayerSession {
 public:
  int turnNumber = 0;
  bool isOnline = false;
  bool tutorial = false;
  bool isSandbox = false;
  Player* local = nullptr;
  Player* enemy = nullptr;
  std::map<const Player*, std::vector<int>> hands;  // cardList per player
  GameLife life;

  int turn() const override { return turnNumber; }
  bool online() const override { return isOnline; }
  bool isLocal(const Player& p) const override { return &p == local; }
  Player* otherPlayer(const Player& p) const override { return &p != local ? local : enemy; }
  bool tutorialRunning() const override { return tutorial; }
  bool sandbox() const override { return isSandbox; }
  std::vector<int> cardList(const Player& p) override {
    auto it = hands.find(&p);
    return it == hands.end() ? std::vector<int>{} : it->second;
  }
  GameToken gameToken() const override { return life.token(); }
};

