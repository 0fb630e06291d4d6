// A room's runtime object: its layers and active instances, made from the room data.
#pragma once
#include "Room/Room_Layers.h"
#include <vector>

struct RoomData;
struct CInstance;

struct CRoom {
    int index = -1;
    const RoomData* data = nullptr;
    LayerList layers;
    std::vector<CInstance*> active;  // the room's active instances, in creation order
    std::vector<int> toCreate;       // ids made from the room data, in data order
    std::vector<CInstance*> dormant; // a persistent room's non-persistent instances while it is left

    bool Persistent() const;
};
