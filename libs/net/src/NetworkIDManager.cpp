#include "raknet/NetworkIDManager.h"

#include <random>

namespace RakNet {

NetworkIDObject::~NetworkIDObject() {
  if (manager_) manager_->Untrack(this);
}

void NetworkIDObject::SetNetworkIDManager(NetworkIDManager* manager) {
  if (manager == manager_) return;
  if (manager_) manager_->Untrack(this);
  manager_ = manager;
  if (manager_ && id_ != UNASSIGNED_NETWORK_ID) manager_->Track(this);
}

NetworkID NetworkIDObject::GetNetworkID() {
  if (id_ == UNASSIGNED_NETWORK_ID && manager_) {
    id_ = manager_->NewId();
    manager_->Track(this);
  }
  return id_;
}

void NetworkIDObject::SetNetworkID(NetworkID id) {
  if (id == id_) return;
  if (manager_ && id_ != UNASSIGNED_NETWORK_ID) manager_->Untrack(this);
  id_ = id;
  if (manager_ && id_ != UNASSIGNED_NETWORK_ID) manager_->Track(this);
}

NetworkIDManager::NetworkIDManager() {
  std::random_device seed;
  std::mt19937_64 rng((static_cast<std::uint64_t>(seed()) << 32) ^ seed());
  next_ = (rng() >> 1) + 1;  // never the unassigned id, far from wrapping
}

NetworkIDManager::NetworkIDManager(NetworkID first) : next_(first == UNASSIGNED_NETWORK_ID ? 1 : first) {}

NetworkIDManager::~NetworkIDManager() { Clear(); }

void NetworkIDManager::Clear() {
  for (auto& entry : objects_) entry.second->manager_ = nullptr;
  objects_.clear();
}

NetworkIDObject* NetworkIDManager::GET_BASE_OBJECT_FROM_ID(NetworkID id) const {
  if (id == UNASSIGNED_NETWORK_ID) return nullptr;
  auto it = objects_.find(id);
  return it == objects_.end() ? nullptr : it->second;
}

NetworkID NetworkIDManager::NewId() {
  while (objects_.count(next_) || next_ == UNASSIGNED_NETWORK_ID) ++next_;
  return next_++;
}

void NetworkIDManager::Track(NetworkIDObject* object) {
  // A received id may clash with one given out here; the newest holder wins and the
  // old one leaves the manager, so it never points at a manager that forgot it.
  NetworkIDObject*& slot = objects_[object->id_];
  if (slot && slot != object) slot->manager_ = nullptr;
  slot = object;
}

void NetworkIDManager::Untrack(NetworkIDObject* object) {
  auto it = objects_.find(object->id_);
  if (it != objects_.end() && it->second == object) objects_.erase(it);
}

}  // namespace RakNet
