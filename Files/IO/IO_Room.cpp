// Rooms (ROOM): views, instances in creation order, and layers.
#include "IO/IO_Chunks.h"

namespace {

constexpr int ViewCount = 8;

ViewData ReadView(IO_Reader& reader) {
    ViewData view;
    view.enabled = reader.Bool();
    for (int* field : {&view.viewX, &view.viewY, &view.viewWidth, &view.viewHeight, &view.portX, &view.portY,
                       &view.portWidth, &view.portHeight, &view.borderX, &view.borderY, &view.speedX,
                       &view.speedY, &view.followObject}) {
        *field = reader.I32();
    }
    return view;
}

RoomInstanceData ReadInstance(IO_Reader& reader) {
    RoomInstanceData instance;
    instance.x = reader.I32();
    instance.y = reader.I32();
    instance.objectIndex = reader.I32();
    instance.id = reader.I32();
    instance.creationCode = reader.I32();
    instance.scaleX = reader.F32();
    instance.scaleY = reader.F32();
    instance.colour = reader.U32();
    instance.rotation = reader.F32();
    instance.preCreateCode = reader.I32();
    return instance;
}

void ReadBackgroundLayer(IO_Reader& reader, LayerData& layer) {
    layer.backgroundVisible = reader.Bool();
    layer.foreground = reader.Bool();
    layer.spriteIndex = reader.I32();
    layer.tileH = reader.Bool();
    layer.tileV = reader.Bool();
    layer.stretch = reader.Bool();
    layer.colour = reader.U32();
    layer.firstFrame = reader.U32();
    layer.animationSpeed = reader.F32();
    layer.animationSpeedType = reader.U32();
}

LayerData ReadLayer(IO_Reader& reader) {
    LayerData layer;
    layer.name = reader.StringRef();
    layer.id = reader.I32();
    layer.type = static_cast<LayerType>(reader.I32());
    layer.depth = reader.I32();
    layer.xOffset = reader.F32();
    layer.yOffset = reader.F32();
    layer.hSpeed = reader.F32();
    layer.vSpeed = reader.F32();
    layer.visible = reader.Bool();
    if (layer.type == LayerType::Background) {
        ReadBackgroundLayer(reader, layer);
    } else if (layer.type == LayerType::Instances) {
        for (uint32_t id : reader.List()) {
            layer.instanceIds.push_back(static_cast<int>(id)); // instance ids, not offsets
        }
    }
    return layer;
}

// Reads the list that `offset` points at (0: none), the reader's position kept.
template <typename ReadRecord> void ReadListAt(IO_Reader& reader, uint32_t offset, ReadRecord readRecord) {
    if (offset == 0) {
        return;
    }
    const uint32_t saved = reader.Position();
    reader.Seek(offset);
    IO_ForEachRecord(reader, [&] {
        if (reader.Charge(1)) {
            readRecord();
        }
    });
    reader.Seek(saved);
}

RoomData ReadRoom(IO_Reader& reader) {
    RoomData room;
    room.name = reader.StringRef();
    room.caption = reader.StringRef();
    room.width = reader.I32();
    room.height = reader.I32();
    room.speed = reader.I32();
    room.persistent = reader.Bool();
    room.backgroundColour = reader.U32();
    room.drawBackgroundColour = reader.Bool();
    room.creationCode = reader.I32();
    room.flags = reader.U32();
    reader.U32(); // legacy backgrounds: the runtime draws layers instead
    const uint32_t views = reader.U32(), instances = reader.U32();
    reader.U32();       // tiles: likewise
    reader.Skip(4 * 5); // physics world
    room.gravityX = reader.F32();
    room.gravityY = reader.F32();
    room.metersPerPixel = reader.F32();
    const uint32_t layers = reader.U32();
    int view = 0;
    ReadListAt(reader, views, [&] {
        if (view < ViewCount) {
            room.views[view] = ReadView(reader);
        }
        ++view;
    });
    ReadListAt(reader, instances, [&] {
        RoomInstanceData instance = ReadInstance(reader);
        if (instance.objectIndex >= 0) {
            room.instances.push_back(instance);
        }
    });
    ReadListAt(reader, layers, [&] { room.layers.push_back(ReadLayer(reader)); });
    return room;
}

} // namespace

bool IO_ReadRooms(IO_Reader& reader, uint32_t, GameData& out) {
    out.rooms.clear();
    return IO_ForEachRecord(
        reader, [&] { out.rooms.push_back(ReadRoom(reader)); }, [&] { out.rooms.emplace_back(); });
}
