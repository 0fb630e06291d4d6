// Objects (OBJT): properties and, per event type, the events with their actions.
#include "IO/IO_Chunks.h"

namespace {

ActionData ReadAction(IO_Reader& reader) {
    ActionData action;
    action.libraryId = reader.U32();
    action.actionId = reader.U32();
    action.kind = reader.U32();
    action.useRelative = reader.Bool();
    action.isQuestion = reader.Bool();
    action.useApplyTo = reader.Bool();
    action.executionType = reader.U32();
    action.name = reader.StringRef();
    action.codeId = reader.I32();
    action.argumentCount = reader.U32();
    action.who = reader.I32();
    action.relative = reader.Bool();
    action.isNot = reader.Bool();
    reader.U32(); // reserved
    return action;
}

EventData ReadEvent(IO_Reader& reader) {
    EventData event;
    event.subtype = reader.I32();
    IO_ForEachRecord(reader, [&] {
        if (reader.Charge(1)) {
            event.actions.push_back(ReadAction(reader));
        }
    });
    return event;
}

// Physics properties: the runtime has no physics, so they are only stepped over.
void SkipPhysics(IO_Reader& reader, const std::string& name) {
    reader.Skip(4 * 8); // uses physics, sensor, shape, density, restitution, group, dampings
    const int32_t vertices = reader.I32();
    reader.Skip(4 * 3); // friction, awake, kinematic
    if (vertices < 0 || !reader.Has(uint64_t(vertices) * 8)) {
        reader.Fail("object " + name + ": bad physics vertex count");
        return;
    }
    reader.Skip(static_cast<uint32_t>(vertices) * 8);
}

// One list per event type; types beyond those the runtime knows are ignored.
void ReadEventTypes(IO_Reader& reader, ObjectData& object) {
    int type = 0;
    IO_ForEachRecord(
        reader,
        [&] {
            if (type < EventTypeCount) {
                IO_ForEachRecord(reader, [&] {
                    if (reader.Charge(1)) {
                        object.events[type].push_back(ReadEvent(reader));
                    }
                });
            }
            ++type;
        },
        [&] { ++type; });
}

ObjectData ReadObject(IO_Reader& reader) {
    ObjectData object;
    object.name = reader.StringRef();
    object.spriteIndex = reader.I32();
    object.visible = reader.Bool();
    object.solid = reader.Bool();
    object.depth = reader.I32();
    object.persistent = reader.Bool();
    object.parentIndex = reader.I32();
    object.maskIndex = reader.I32();
    SkipPhysics(reader, object.name);
    ReadEventTypes(reader, object);
    return object;
}

} // namespace

bool IO_ReadObjects(IO_Reader& reader, uint32_t, GameData& out) {
    out.objects.clear();
    return IO_ForEachRecord(
        reader, [&] { out.objects.push_back(ReadObject(reader)); }, [&] { out.objects.emplace_back(); });
}
