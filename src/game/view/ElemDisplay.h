// What a board element shows: for each named layer of its room layout, whether it
// is visible, which image it takes, its tint and its vertical scale. A pure function
// of the element, its board and the local side; the element's nodes only apply it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class BoardElem;
class Player;

struct ElemRgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const ElemRgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// Tints of the block, mask and exterior layers.
constexpr ElemRgb ElemColorOurs{170, 156, 142};
constexpr ElemRgb ElemColorEnemy{197, 188, 179};
// The exterior of an underground element that is not a block.
constexpr ElemRgb ElemColorExteriorEmpty{154, 139, 125};

// The named layers of the room layouts, in the order they are bound.
enum class ElemLayer {
  Levitron,
  Hardened,
  Doors,
  Room,
  Exterior,
  Fence,
  Damaged,
  Deratized,
  RoomPower,  // a label
  RoomFillBack,
  RoomFill,
  Fire,
  Flood,
  LadderTop,
  LadderBottom,
  LadderLeft,
  LadderRight,
  Block,
  Mask,
  Count,
};
constexpr int kElemLayerCount = static_cast<int>(ElemLayer::Count);

// The layer's node name in the layouts ("levitron", "ladder_top", ...).
const char* elemLayerName(ElemLayer layer);
// The layer of a node name; Count for a name that is none.
ElemLayer elemLayerByName(const std::string& name);

// The layout an element of a kind loads.
enum class ElemLayout { None, Cave, LowerBlock, Dome };
ElemLayout layoutForKind(int kind);
// "ccbi/rooms/tower-cave.ccbi", ...; empty for None.
const char* layoutFile(ElemLayout layout);

// What the function decides about one layer; a field left empty keeps what the
// layer has (as loaded, or as set before).
struct LayerLook {
  std::optional<bool> visible;
  std::optional<std::string> image;  // a frame of the main sheet
  std::optional<ElemRgb> tint;
  // Vertical scale: for "flood" the scale itself, for "roomfill" a fraction of the
  // scale it was loaded with.
  std::optional<float> scaleY;
};

struct ElemLook {
  ElemLayout layout = ElemLayout::None;
  std::array<LayerLook, kElemLayerCount> layers;
  // The text of "roompower" when it shows.
  std::string roomPowerText;
  // The smoke overlay shows while the element burns.
  bool smoke = false;

  LayerLook& operator[](ElemLayer l) { return layers[static_cast<int>(l)]; }
  const LayerLook& operator[](ElemLayer l) const { return layers[static_cast<int>(l)]; }
};

// Seen: the owner is the local player, or the element is revealed (an element
// without owner is never seen).
bool isElemSeen(const BoardElem& elem, const Player* localPlayer);

// The exterior image of a block ("tower-2floor-dmg.png", ...); empty for no block.
std::string exteriorImageFor(const BoardElem& elem);

// Everything the element shows, for the local player `localPlayer` (may be null).
ElemLook describeElem(const BoardElem& elem, const Player* localPlayer);

// What the nodes do once when they are built, by owner: the image of "damaged" on
// the opponent's elements, and the smoke's start colour.
const char* damagedImageFor(bool ofLocalPlayer);
