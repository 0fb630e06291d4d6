// Objects with their events, and the room.
#include "ChunkWriter.h"
#include "Contents.h"
#include <algorithm>

namespace {

constexpr size_t EventTypeCount = 15;

// The one action of every event: run compiled code `codeId` on the instance itself.
void WriteCodeAction(ByteWriter& out, const contents::Event& event) {
    out.U32(1);   // library
    out.U32(603); // action: execute code
    out.U32(7);   // kind: code
    out.U32(0);   // relative not used
    out.U32(0);   // not a question
    out.U32(1);   // uses "apply to"
    out.U32(2);   // execution type: code
    if (event.type == contents::PreCreate) {
        WriteStringRef(out, ""); // PreCreate actions carry an empty name, the others none
    } else {
        out.U32(0);
    }
    out.U32(event.codeId);
    out.U32(1);  // argument count
    out.I32(-1); // applies to self
    out.U32(0);  // not relative
    out.U32(0);  // not negated
    out.U32(0);
}

void WriteEventLists(ByteWriter& out, const std::string& prefix, const contents::Object& object) {
    WriteList(out, prefix + ":type", EventTypeCount, [&](size_t type) {
        std::vector<contents::Event> events;
        std::copy_if(object.events.begin(), object.events.end(), std::back_inserter(events),
                     [&](const contents::Event& e) { return e.type == static_cast<int>(type); });
        std::stable_sort(events.begin(), events.end(),
                         [](const auto& a, const auto& b) { return a.subtype < b.subtype; });
        const std::string typeLabel = ItemLabel(prefix + ":type", type);
        WriteList(out, typeLabel + ":event", events.size(), [&](size_t e) {
            out.U32(events[e].subtype);
            WriteList(out, ItemLabel(typeLabel + ":event", e) + ":action", 1,
                      [&](size_t) { WriteCodeAction(out, events[e]); });
        });
    });
}

void WriteObject(ByteWriter& out, size_t index, const contents::Object& object) {
    WriteStringRef(out, object.name);
    out.I32(object.spriteIndex);
    out.U32(1); // visible
    out.U32(0); // not solid
    out.I32(0); // depth
    out.U32(object.persistent ? 1 : 0);
    out.I32(-100); // no parent
    out.I32(-1);   // mask: the sprite
    out.U32(0);    // no physics
    out.U32(0);    // not a sensor
    out.U32(1);    // collision shape
    out.F32(0.5f); // density
    out.F32(0.1f); // restitution
    out.U32(0);    // group
    out.F32(0.1f); // linear damping
    out.F32(0.1f); // angular damping
    out.I32(0);    // physics vertices
    out.F32(0.2f); // friction
    out.U32(1);    // awake
    out.U32(0);    // not kinematic
    WriteEventLists(out, ItemLabel("objt", index), object);
}

void WriteView(ByteWriter& out, bool enabled) {
    const int w = enabled ? contents::RoomWidth : 0, h = enabled ? contents::RoomHeight : 0;
    for (int value : {enabled ? 1 : 0, 0, 0, w, h, 0, 0, w, h, 32, 32, -1, -1, -1}) {
        out.I32(value); // enabled, view, port, border, speed, followed object
    }
}

void WriteInstance(ByteWriter& out, const contents::Instance& instance) {
    out.I32(instance.x);
    out.I32(instance.y);
    out.I32(instance.objectIndex);
    out.U32(instance.id);
    out.I32(-1); // no creation code
    out.F32(1.0f);
    out.F32(1.0f);
    out.U32(0xFFFFFFFF); // white, opaque
    out.F32(0.0f);
    out.I32(-1); // no pre-create code
}

void WriteLayerHeader(ByteWriter& out, const char* name, uint32_t id, uint32_t type, int32_t depth) {
    WriteStringRef(out, name);
    out.U32(id);
    out.U32(type);
    out.I32(depth);
    for (int i = 0; i < 4; ++i) {
        out.F32(0.0f); // offsets and speeds
    }
    out.U32(1); // visible
}

void WriteLayers(ByteWriter& out) {
    const auto& instances = contents::RoomInstances();
    WriteList(out, "layer", 2, [&](size_t i) {
        if (i == 0) {
            WriteLayerHeader(out, "Instances", 0, 2, 0);
            out.U32(static_cast<uint32_t>(instances.size()));
            for (const auto& instance : instances) {
                out.U32(instance.id);
            }
            return;
        }
        WriteLayerHeader(out, "Background", 1, 1, 100);
        out.U32(1);          // background visible
        out.U32(0);          // not foreground
        out.I32(-1);         // no sprite
        out.U32(0);          // no horizontal tiling
        out.U32(0);          // no vertical tiling
        out.U32(0);          // not stretched
        out.U32(0xFF221111); // alpha FF, blue 22, green 11, red 11
        out.U32(0);          // first frame
        out.F32(15.0f);
        out.U32(0); // frames per second
    });
}

void WriteRoom(ByteWriter& out) {
    WriteStringRef(out, contents::RoomName);
    out.U32(0); // no caption
    out.U32(contents::RoomWidth);
    out.U32(contents::RoomHeight);
    out.U32(0); // speed: the game speed applies
    out.U32(0); // not persistent
    out.U32(0); // background colour
    out.U32(0); // not drawn
    out.I32(-1);
    out.U32(1); // views enabled
    for (const char* list : {"room:backgrounds", "room:views", "room:instances", "room:tiles"}) {
        out.Ref(list);
    }
    for (uint32_t value : {0u, 0u, 0u, 1024u, 768u}) {
        out.U32(value); // physics world, top, left, right, bottom
    }
    out.F32(0.0f);  // gravity x
    out.F32(10.0f); // gravity y
    out.F32(0.1f);  // meters per pixel
    out.Ref("room:layers");

    out.Place("room:backgrounds");
    out.U32(0);
    out.Place("room:views");
    WriteList(out, "view", 8, [&](size_t i) { WriteView(out, i == 0); });
    out.Place("room:instances");
    const auto& instances = contents::RoomInstances();
    WriteList(out, "inst", instances.size(), [&](size_t i) { WriteInstance(out, instances[i]); });
    out.Place("room:tiles");
    out.U32(0);
    out.Place("room:layers");
    WriteLayers(out);
}

} // namespace

void WriteObjects(ByteWriter& out) {
    const auto& objects = contents::Objects();
    WriteChunk(out, "OBJT", [&] {
        WriteList(out, "objt", objects.size(), [&](size_t i) { WriteObject(out, i, objects[i]); });
    });
}

void WriteRooms(ByteWriter& out) {
    WriteChunk(out, "ROOM", [&] { WriteList(out, "room", 1, [&](size_t) { WriteRoom(out); }); });
}
