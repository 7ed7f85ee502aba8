// The store client is not available on this platform: start-up always fails and the game
// plays on without it.
#pragma once

bool SteamAPI_Init();
void SteamAPI_Shutdown();
