// Gives objects 64-bit ids that mean the same object on every machine of a session,
// and finds an object again by its id.
#pragma once

#include <unordered_map>

#include "raknet/RakNetTypes.h"

namespace RakNet {

class NetworkIDManager;

// Base of every object that can be found by NetworkID. Leaving its manager
// (destruction, or a new manager) removes it from the lookup.
class NetworkIDObject {
 public:
  NetworkIDObject() = default;
  NetworkIDObject(const NetworkIDObject&) = delete;
  NetworkIDObject& operator=(const NetworkIDObject&) = delete;
  virtual ~NetworkIDObject();

  virtual void SetNetworkIDManager(NetworkIDManager* manager);
  virtual NetworkIDManager* GetNetworkIDManager() const { return manager_; }
  // The object's id; the first call with a manager set assigns a fresh one.
  virtual NetworkID GetNetworkID();
  // Takes the given id (as received from the machine that made the object).
  virtual void SetNetworkID(NetworkID id);

 private:
  friend class NetworkIDManager;
  NetworkIDManager* manager_ = nullptr;
  NetworkID id_ = UNASSIGNED_NETWORK_ID;
};

class NetworkIDManager {
 public:
  // Ids are handed out upwards from a random 64-bit start, so objects made on
  // different machines do not share ids.
  NetworkIDManager();
  // Ids from `first` upwards: the same objects made in the same order get the same
  // ids in every run (for comparing what two managers send).
  explicit NetworkIDManager(NetworkID first);
  NetworkIDManager(const NetworkIDManager&) = delete;
  NetworkIDManager& operator=(const NetworkIDManager&) = delete;
  ~NetworkIDManager();

  // The object with that id as T (a pointer type), or null when there is none or
  // it is not a T.
  template <class T>
  T GET_OBJECT_FROM_ID(NetworkID id) const {
    return dynamic_cast<T>(GET_BASE_OBJECT_FROM_ID(id));
  }
  NetworkIDObject* GET_BASE_OBJECT_FROM_ID(NetworkID id) const;
  bool ObjectExists(NetworkID id) const { return GET_BASE_OBJECT_FROM_ID(id) != nullptr; }
  size_t Count() const { return objects_.size(); }
  // Forgets every object; they keep their ids but can no longer be found.
  void Clear();

 private:
  friend class NetworkIDObject;
  NetworkID NewId();
  void Track(NetworkIDObject* object);
  void Untrack(NetworkIDObject* object);

  std::unordered_map<NetworkID, NetworkIDObject*> objects_;
  NetworkID next_ = 1;
};

}  // namespace RakNet
