#include "ElemDisplay.h"

#include <algorithm>

#include "Board.h"
#include "BoardElem.h"

namespace {

const char* const kLayerNames[kElemLayerCount] = {
    "levitron",     "hardened",      "doors",       "room",         "exterior",
    "fence",        "damaged",       "deratized",   "roompower",    "roomfillback",
    "roomfill",     "fire",          "flood",       "ladder_top",   "ladder_bottom",
    "ladder_left",  "ladder_right",  "block",       "mask",
};

// Blocks of any kind directly above, counted up to `limit`.
int blocksAbove(const BoardElem& elem, int limit) {
  int n = 0;
  for (const BoardElem* up = elem.getUpper(); up && up->isBlock() && n < limit; up = up->getUpper())
    ++n;
  return n;
}

const char* kindImage(ElemKind kind, const char* four, const char* vert, const char* horiz) {
  switch (kind) {
    case ElemKind::FourBlock:
      return four;
    case ElemKind::VertBlock:
      return vert;
    case ElemKind::HorizBlock:
      return horiz;
    default:
      return nullptr;
  }
}

const char* roomImage(RoomType room) {
  switch (room) {
    case RoomType::Crystal:
      return "crystal.png";
    case RoomType::Library:
      return "library.png";
    case RoomType::Shield:
      return "shield.png";
    case RoomType::Housing:
      return "tavern.png";
    case RoomType::Archmage:
      return "archmage.png";
    case RoomType::None:
      break;
  }
  return nullptr;
}

bool joinsVertically(const BoardElem* e) { return e && e->joinsVertically(); }
bool joinsSideways(const BoardElem* e) { return e && e->joinsSideways(); }

}  // namespace

const char* elemLayerName(ElemLayer layer) {
  const int i = static_cast<int>(layer);
  return i >= 0 && i < kElemLayerCount ? kLayerNames[i] : "";
}

ElemLayer elemLayerByName(const std::string& name) {
  for (int i = 0; i < kElemLayerCount; ++i)
    if (name == kLayerNames[i]) return static_cast<ElemLayer>(i);
  return ElemLayer::Count;
}

ElemLayout layoutForKind(int kind) {
  switch (static_cast<ElemKind>(kind)) {
    case ElemKind::Cave:
      return ElemLayout::Cave;
    case ElemKind::FourBlock:
    case ElemKind::VertBlock:
    case ElemKind::HorizBlock:
      return ElemLayout::LowerBlock;
    case ElemKind::Dome:
      return ElemLayout::Dome;
    default:
      return ElemLayout::None;
  }
}

const char* layoutFile(ElemLayout layout) {
  switch (layout) {
    case ElemLayout::Cave:
      return "ccbi/rooms/tower-cave.ccbi";
    case ElemLayout::LowerBlock:
      return "ccbi/rooms/tower-lower-block.ccbi";
    case ElemLayout::Dome:
      return "ccbi/rooms/dome.ccbi";
    case ElemLayout::None:
      break;
  }
  return "";
}

const char* damagedImageFor(bool ofLocalPlayer) {
  return ofLocalPlayer ? "inside-cracked.png" : "inside-cracked-enemy.png";
}

bool isElemSeen(const BoardElem& elem, const Player* localPlayer) {
  if (!elem.owner()) return false;
  return elem.owner() == localPlayer || elem.isRevealed();
}

std::string exteriorImageFor(const BoardElem& elem) {
  std::string part;
  if (!elem.isBlock()) return part;
  if (elem.isUnderground()) {
    part = "lower_block";
  } else if (elem.kind() == ElemKind::FourBlock) {
    part = "lower_block";
  } else if (elem.kind() == ElemKind::HorizBlock) {
    part = "h_block";
  } else {
    static const char* const kFloors[] = {"3floor", "2floor", "1floor"};
    const int n = blocksAbove(elem, 4);
    part = n < 3 ? kFloors[n] : "lower_block";
  }
  return "tower-" + part + (elem.isDamaged() ? "-dmg" : "") + ".png";
}

ElemLook describeElem(const BoardElem& elem, const Player* localPlayer) {
  ElemLook look;
  look.layout = layoutForKind(static_cast<int>(elem.kind()));
  if (look.layout == ElemLayout::None) return look;

  const bool ours = elem.owner() && elem.owner() == localPlayer;
  const ElemRgb ownerTint = ours ? ElemColorOurs : ElemColorEnemy;
  if (look.layout == ElemLayout::Dome) {
    look[ElemLayer::Mask].tint = ownerTint;
    return look;
  }

  const bool seen = isElemSeen(elem, localPlayer);
  const ElemKind kind = elem.kind();

  look[ElemLayer::Levitron].visible = elem.hasLevitron();
  look[ElemLayer::Hardened].visible = elem.isHardened() && seen;
  LayerLook& doors = look[ElemLayer::Doors];
  doors.visible = elem.hasDoors() && seen;
  if (const char* image = kindImage(kind, "doors-4block.png", "doors-Vblock.png", "doors-Hblock.png"))
    doors.image = image;

  LayerLook& flood = look[ElemLayer::Flood];
  flood.scaleY = std::clamp(elem.waterLevel(), 0.0f, 1.0f);
  flood.visible = seen;

  look[ElemLayer::Fire].visible = elem.isBurning();
  look.smoke = elem.isBurning();
  look[ElemLayer::Fence].visible = elem.hasFence();
  look[ElemLayer::Damaged].visible = elem.isDamaged();
  look[ElemLayer::Deratized].visible = elem.isDeratized();

  // Room power and how full a room that keeps cards is: only on our own elements.
  const bool keepsCards = elem.holdsSpells() || elem.holdsCrews();
  const bool showPower = ours && (elem.room() == RoomType::Crystal || keepsCards);
  look[ElemLayer::RoomPower].visible = showPower;
  if (showPower) look.roomPowerText = std::to_string(elem.roomPower());
  const bool showFill = ours && keepsCards && elem.room() != RoomType::Crystal;
  look[ElemLayer::RoomFillBack].visible = showFill;
  LayerLook& fill = look[ElemLayer::RoomFill];
  fill.visible = showFill;
  if (showFill) {
    // A room of no power holds nothing: an empty gauge rather than a division by zero.
    const int power = elem.roomPower();
    const int percent =
        power > 0 ? static_cast<int>(elem.storedCards().size()) * 100 / power : 0;
    fill.scaleY = static_cast<float>(percent) / 100.0f;
  }

  look[ElemLayer::LadderTop].visible =
      seen && joinsVertically(&elem) && joinsVertically(elem.getUpper());
  look[ElemLayer::LadderBottom].visible =
      seen && joinsVertically(&elem) && joinsVertically(elem.getLower());
  look[ElemLayer::LadderLeft].visible =
      seen && joinsSideways(&elem) && joinsSideways(elem.getLeft());
  look[ElemLayer::LadderRight].visible =
      seen && joinsSideways(&elem) && joinsSideways(elem.getRight());

  if (!elem.isUnderground() || elem.isBlock()) {
    look[ElemLayer::Exterior].tint = ownerTint;
  } else {
    look[ElemLayer::Mask].tint = ownerTint;
    look[ElemLayer::Exterior].tint = ElemColorExteriorEmpty;
  }

  LayerLook& block = look[ElemLayer::Block];
  block.visible = seen && elem.isBlock();
  if (const char* image = kindImage(kind, "tower-4block.png", "tower-vblock.png", "tower-hblock.png"))
    block.image = image;
  if (elem.isBlock()) look[ElemLayer::Exterior].image = exteriorImageFor(elem);

  LayerLook& room = look[ElemLayer::Room];
  if (const char* image = roomImage(elem.room())) {
    room.image = image;
    room.visible = elem.isVisibleToLocalPlayer(localPlayer);
  } else {
    room.visible = false;
  }
  return look;
}
