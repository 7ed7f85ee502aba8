// The trials: fixed towers and fixed hands for the first turns, then a
// skirmish. The enemy loses by holding out long enough; the local player by
// the skirmish's rule.
#pragma once

#include "game/GameDirector.h"

// Base of the trials: a turn limit the enemy must not reach.
class GameDirector_Trial : public GameDirector_Normal {
 public:
  explicit GameDirector_Trial(int enemyTurnLimit) : enemyTurnLimit_(enemyTurnLimit) {}
  bool hasLost(const Player& player) override;

 private:
  int enemyTurnLimit_;
};

class GameDirector_WaterTrial : public GameDirector_Trial {
 public:
  GameDirector_WaterTrial() : GameDirector_Trial(10) {}
  std::vector<int> getCardList(const Player& player, int turn) override;
  void setupPlayer(Player& player) override;
};

class GameDirector_FireTrial1 : public GameDirector_Trial {
 public:
  GameDirector_FireTrial1() : GameDirector_Trial(10) {}
  std::vector<int> getCardList(const Player& player, int turn) override;
  void setupPlayer(Player& player) override;
};

class GameDirector_FireTrial2 : public GameDirector_Trial {
 public:
  GameDirector_FireTrial2() : GameDirector_Trial(10) {}
  std::vector<int> getCardList(const Player& player, int turn) override;
  void setupPlayer(Player& player) override;
};

class GameDirector_FireTrial3 : public GameDirector_Trial {
 public:
  GameDirector_FireTrial3() : GameDirector_Trial(10) {}
  std::vector<int> getCardList(const Player& player, int turn) override;
  void setupPlayer(Player& player) override;
};

class GameDirector_FireTrial4 : public GameDirector_Trial {
 public:
  GameDirector_FireTrial4() : GameDirector_Trial(10) {}
  std::vector<int> getCardList(const Player& player, int turn) override;
  void setupPlayer(Player& player) override;
};

class GameDirector_DynamiteTrial1 : public GameDirector_Trial {
 public:
  GameDirector_DynamiteTrial1() : GameDirector_Trial(20) {}
  std::vector<int> getCardList(const Player& player, int turn) override;
  void setupPlayer(Player& player) override;
};
