#include "StoreClient.h"

bool SteamAPI_Init() { return false; }
void SteamAPI_Shutdown() {}
