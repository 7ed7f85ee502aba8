// The modes the scenario list offers: text key and mode id, in list order,
// closed by an end row whose strings are empty. The tutorial has its own
// button and is not a row.
#pragma once

#include <array>

struct GameModeRecord {
  const char* textKey;
  const char* modeId;
};

constexpr std::array<GameModeRecord, 8> GameModeTable = {{
    {"SKIRMISH", "skirmish"},
    {"WATER_TRIAL", "water_trial"},
    {"FIRE_TRIAL1", "fire_trial1"},
    {"FIRE_TRIAL2", "fire_trial2"},
    {"FIRE_TRIAL3", "fire_trial3"},
    {"FIRE_TRIAL4", "fire_trial4"},
    {"DYNAMITE_TRIAL1", "dynamite_trial1"},
    {"", ""},
}};
