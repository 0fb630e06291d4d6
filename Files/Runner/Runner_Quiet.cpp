#include "Runner/Runner_Quiet.h"
#include "Graphics/Graphics_State.h"
#include "Object/Object_Class.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Runner/Runner_Loop.h"
#include "platform/Platform_Log.h"
#include <cstdio>
#include <cstring>
#include <deque>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

namespace {
// The longest repetition looked for, in frames: the splash's is 120.
constexpr size_t LongestRepetition = 512;

// The state is a row of cells in a fixed order. First the numbers: the draw state, then every
// instance's built-in variables (in the room's order); then the variables: every instance's slots, then
// the global object's. A number cell holds a double's bits (the integers among them fit exactly).
enum DrawCell : uint8_t { DrawColour, DrawAlpha, DrawFont, DrawHAlign, DrawVAlign, DrawCellCount };
enum Field : uint8_t {
    Id,
    ObjectIndex,
    X,
    Y,
    XPrevious,
    YPrevious,
    Depth,
    SpriteIndex,
    ImageIndex,
    ImageSpeed,
    ImageAlpha,
    XScale,
    YScale,
    Angle,
    Blend,
    Flags,
    CreateStamp,
    FieldCount
};
constexpr const char* FieldNames[] = {
    "id",           "object_index", "x",           "y",           "xprevious",   "yprevious",
    "depth",        "sprite_index", "image_index", "image_speed", "image_alpha", "image_xscale",
    "image_yscale", "image_angle",  "image_blend", "flags",       "create_stamp"};
static_assert(std::size(FieldNames) == FieldCount);

uint64_t Bits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double FromBits(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint32_t FlagBits(const CInstance& instance) {
    return uint32_t(instance.visible) | uint32_t(instance.persistent) << 1 |
           uint32_t(instance.markedDestroyed) << 2 | uint32_t(instance.deactivated) << 3 |
           uint32_t(instance.created) << 4 | uint32_t(instance.carriedOver) << 5;
}

// A free-running animation's image_index is left out (it is the same zero here): it is put forward
// by itself after a sleep, and nothing else can see it without marking its frame.
void ReadFields(const CInstance& instance, bool freeRunning, uint64_t* out) {
    out[Id] = Bits(instance.id);
    out[ObjectIndex] = Bits(instance.objectIndex);
    out[X] = Bits(instance.x);
    out[Y] = Bits(instance.y);
    out[XPrevious] = Bits(instance.xprevious);
    out[YPrevious] = Bits(instance.yprevious);
    out[Depth] = Bits(instance.depth);
    out[SpriteIndex] = Bits(instance.spriteIndex);
    out[ImageIndex] = freeRunning ? 0 : Bits(instance.imageIndex);
    out[ImageSpeed] = Bits(instance.imageSpeed);
    out[ImageAlpha] = Bits(instance.imageAlpha);
    out[XScale] = Bits(instance.imageXScale);
    out[YScale] = Bits(instance.imageYScale);
    out[Angle] = Bits(instance.imageAngle);
    out[Blend] = Bits(instance.imageBlend);
    out[Flags] = Bits(FlagBits(instance));
    out[CreateStamp] = Bits(double(instance.createStamp));
}

void WriteField(CInstance& instance, Field field, double value) {
    switch (field) {
    case Id:
        instance.id = int(value);
        break;
    case ObjectIndex:
        instance.objectIndex = int(value);
        break;
    case X:
        instance.x = value;
        break;
    case Y:
        instance.y = value;
        break;
    case XPrevious:
        instance.xprevious = value;
        break;
    case YPrevious:
        instance.yprevious = value;
        break;
    case Depth:
        instance.depth = int(value);
        break;
    case SpriteIndex:
        instance.spriteIndex = int(value);
        break;
    case ImageIndex:
        instance.imageIndex = float(value);
        break;
    case ImageSpeed:
        instance.imageSpeed = float(value);
        break;
    case ImageAlpha:
        instance.imageAlpha = value;
        break;
    case XScale:
        instance.imageXScale = value;
        break;
    case YScale:
        instance.imageYScale = value;
        break;
    case Angle:
        instance.imageAngle = value;
        break;
    case Blend:
        instance.imageBlend = uint32_t(value);
        break;
    case Flags: {
        const auto bits = uint32_t(value);
        instance.visible = bits & 1;
        instance.persistent = bits & 2;
        instance.markedDestroyed = bits & 4;
        instance.deactivated = bits & 8;
        instance.created = bits & 16;
        instance.carriedOver = bits & 32;
        break;
    }
    case CreateStamp:
        instance.createStamp = uint64_t(value);
        break;
    case FieldCount:
        break;
    }
}

void ReadDrawCells(uint64_t* out) {
    const DrawState& draw = Graphics_DrawState();
    out[DrawColour] = Bits(draw.colour);
    out[DrawAlpha] = Bits(draw.alpha);
    out[DrawFont] = Bits(draw.font);
    out[DrawHAlign] = Bits(draw.halign);
    out[DrawVAlign] = Bits(draw.valign);
}

void WriteDrawCell(DrawCell cell, double value) {
    DrawState& draw = Graphics_DrawState();
    switch (cell) {
    case DrawColour:
        draw.colour = uint32_t(value);
        break;
    case DrawAlpha:
        draw.alpha = value;
        break;
    case DrawFont:
        draw.font = int(value);
        break;
    case DrawHAlign:
        draw.halign = int(value);
        break;
    case DrawVAlign:
    case DrawCellCount:
        draw.valign = int(value);
        break;
    }
}

// Equal values, exactly: a real by its bits, a string by its text, an array by its contents.
bool SameValue(const RValue& a, const RValue& b);

bool SameArrayContents(const RValue& a, const RValue& b) {
    if (a.RowCount() != b.RowCount())
        return false;
    for (int row = 0; row < a.RowCount(); ++row) {
        const auto& one = a.arr->rows[size_t(row)];
        const auto& other = b.arr->rows[size_t(row)];
        if (one.size() != other.size())
            return false;
        for (size_t i = 0; i < one.size(); ++i)
            if (!SameValue(one[i], other[i]))
                return false;
    }
    return true;
}

bool SameValue(const RValue& a, const RValue& b) {
    if (a.kindWord != b.kindWord || (a.flags & ~OwnsPointer) != (b.flags & ~OwnsPointer))
        return false;
    if (a.i64 == b.i64)
        return true; // the same bits, or the same string or array
    switch (a.kind()) {
    case Kind::String:
        return a.str->text == b.str->text;
    case Kind::Array:
        return SameArrayContents(a, b);
    default:
        return false;
    }
}

// Values that may differ between the states of a repetition, as a sleep puts them back: numbers,
// strings, undefined. An array or a pointer that changes ends the search (arrays are shared, a pointer
// may own what it points to).
bool Plain(const RValue& value) {
    return !value.isArray() && !value.is(Kind::Ptr);
}

RValue DeepCopy(const RValue& value) {
    if (!value.isArray())
        return value;
    RValue copy = RValue::NewArray();
    copy.arr->rows.resize(value.arr->rows.size());
    for (size_t row = 0; row < value.arr->rows.size(); ++row)
        for (const RValue& cell : value.arr->rows[row])
            copy.arr->rows[row].push_back(DeepCopy(cell));
    return copy;
}

void HashBytes(uint64_t& hash, const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 1099511628211ull;
    }
}

void HashValue(uint64_t& hash, const RValue& value) {
    HashBytes(hash, &value.kindWord, sizeof value.kindWord);
    switch (value.kind()) {
    case Kind::String:
        HashBytes(hash, value.str->text.data(), value.str->text.size());
        break;
    case Kind::Array:
        for (int row = 0; row < value.RowCount(); ++row) {
            const uint32_t length = uint32_t(value.RowLength(row));
            HashBytes(hash, &length, sizeof length);
            for (const RValue& cell : value.arr->rows[size_t(row)])
                HashValue(hash, cell);
        }
        break;
    case Kind::Ptr:
        break; // an address, which another run of the program has elsewhere
    default:
        HashBytes(hash, &value.i64, sizeof value.i64);
        break;
    }
}

// Which cells there are: the instances in the room's order, with their layer elements, the slots made
// so far, and what decides whether their animation runs freely. Another list is another state.
struct Layout {
    const CRoom* room = nullptr;
    struct Entry {
        CInstance* instance;
        const LayerElement* element;
        size_t slots;
        int objectIndex, spriteIndex;
        float imageSpeed;
        bool freeRunning;
    };
    std::vector<Entry> entries;
    size_t globalSlots = 0;
    size_t numberCount = 0, slotCount = 0;

    static Entry EntryOf(CInstance* instance) {
        return Entry{instance,
                     instance->element,
                     instance->SlotCount(),
                     instance->objectIndex,
                     instance->spriteIndex,
                     instance->imageSpeed,
                     Runner_AnimationFreeRunning(instance)};
    }

    void Take() {
        room = Room_Current();
        entries.clear();
        slotCount = 0;
        if (room != nullptr)
            for (CInstance* instance : room->active) {
                entries.push_back(EntryOf(instance));
                slotCount += entries.back().slots;
            }
        CInstance* global = GlobalObject();
        globalSlots = global != nullptr ? global->SlotCount() : 0;
        slotCount += globalSlots;
        numberCount = DrawCellCount + FieldCount * entries.size();
    }

    // Whether the layout now is this one, looked at in place (a frame's cost).
    bool Holds() const {
        if (Room_Current() != room)
            return false;
        if (room != nullptr) {
            if (room->active.size() != entries.size())
                return false;
            for (size_t i = 0; i < entries.size(); ++i) {
                const CInstance* instance = room->active[i];
                const Entry& entry = entries[i];
                if (instance != entry.instance || instance->element != entry.element ||
                    instance->SlotCount() != entry.slots || instance->objectIndex != entry.objectIndex ||
                    instance->spriteIndex != entry.spriteIndex || instance->imageSpeed != entry.imageSpeed)
                    return false;
            }
        }
        CInstance* global = GlobalObject();
        return (global != nullptr ? global->SlotCount() : 0) == globalSlots;
    }

    void ReadNumbers(std::vector<uint64_t>& out) const {
        out.resize(numberCount);
        ReadDrawCells(out.data());
        for (size_t i = 0; i < entries.size(); ++i)
            ReadFields(*entries[i].instance, entries[i].freeRunning,
                       out.data() + DrawCellCount + FieldCount * i);
    }

    // Calls visit(slot cell index, value) for every slot, in order.
    template <typename Visit> void VisitSlots(Visit visit) const {
        size_t index = 0;
        for (const Entry& entry : entries)
            for (size_t slot = 0; slot < entry.slots; ++slot)
                visit(index++, entry.instance->SlotAt(slot));
        CInstance* global = GlobalObject();
        for (size_t slot = 0; slot < globalSlots; ++slot)
            visit(index++, global->SlotAt(slot));
    }

    RValue& SlotCell(size_t index) const {
        for (const Entry& entry : entries) {
            if (index < entry.slots)
                return entry.instance->SlotAt(index);
            index -= entry.slots;
        }
        return GlobalObject()->SlotAt(index);
    }

    void WriteNumber(size_t index, double value) const {
        if (index < DrawCellCount) {
            WriteDrawCell(DrawCell(index), value);
            return;
        }
        index -= DrawCellCount;
        WriteField(*entries[index / FieldCount].instance, Field(index % FieldCount), value);
    }
};

// A state as the cells that differ from the run's first state, in cell order: numbers first (index
// below the number count), then slots.
struct Change {
    uint32_t index;
    RValue value; // a number cell's value as a real
};
using Changes = std::vector<Change>;

bool SameChanges(const Changes& one, const Changes& other) {
    if (one.size() != other.size())
        return false;
    for (size_t i = 0; i < one.size(); ++i)
        if (one[i].index != other[i].index || !SameValue(one[i].value, other[i].value))
            return false;
    return true;
}

uint64_t HashChanges(const Changes& changes) {
    uint64_t hash = 14695981039346656037ull;
    for (const Change& change : changes) {
        HashBytes(hash, &change.index, sizeof change.index);
        HashValue(hash, change.value);
    }
    return hash;
}

struct Watch {
    bool enabled = false;
    bool marked = false;
    const char* reason = "";
    int cursor = 0; // as the window starts: the arrow
    // The run: states since the first of a row of quiet frames, as changes from that first state.
    bool running = false;
    Layout layout;
    std::vector<uint64_t> firstNumbers, numbers;
    std::vector<RValue> firstSlots;              // deep copies
    std::vector<const void*> firstArrays;        // the arrays the first state held, by identity
    std::deque<Changes> recent;                  // the states since, oldest first
    uint64_t recentStart = 0;                    // the number of the oldest
    std::unordered_map<uint64_t, uint64_t> seen; // a state's hash → its number (the latest)
    Changes changes;                             // the state now
    uint64_t runs = 0;                           // runs started, so frames run ahead see a new one
    bool settling = false;                       // the last frame was quiet but for a new state
    // Once found: the states to come, those before a repetition (the state now first, when frames ran
    // ahead) and the states of the repetition, and which of them all is the state now.
    std::vector<Changes> prefix, repetition;
    size_t position = 0;
    // While frames run ahead: the run they began in, the states they passed through, and everything
    // as it was (a run's first state and its changes cannot hold an array changed in place).
    bool ahead = false;
    uint64_t aheadRun = 0;
    std::vector<Changes> aheadStates;
    struct Snapshot {
        Layout layout;
        std::vector<uint64_t> numbers;
        std::vector<float> imageIndexes;
        std::vector<RValue> slots, arrayContents;
    } saved;
};

Watch watch;

void StartRun() {
    watch.running = true;
    ++watch.runs;
    watch.changes.clear();
    watch.layout.Take();
    watch.layout.ReadNumbers(watch.firstNumbers);
    watch.firstSlots.clear();
    watch.firstArrays.clear();
    watch.firstSlots.reserve(watch.layout.slotCount);
    watch.layout.VisitSlots([](size_t, const RValue& value) {
        watch.firstSlots.push_back(DeepCopy(value));
        watch.firstArrays.push_back(value.isArray() ? value.arr : nullptr);
    });
    watch.recent.clear();
    watch.recent.emplace_back();
    watch.recentStart = 0;
    watch.seen.clear();
    watch.seen[HashChanges({})] = 0;
    watch.prefix.clear();
    watch.repetition.clear();
}

// The state now as changes from the run's first, into watch.changes; false when a change cannot be
// put back.
bool CurrentChanges() {
    Changes& changes = watch.changes;
    changes.clear();
    watch.layout.ReadNumbers(watch.numbers);
    const size_t numberCount = watch.numbers.size();
    if (std::memcmp(watch.numbers.data(), watch.firstNumbers.data(), numberCount * sizeof(uint64_t)) != 0) {
        for (size_t i = 0; i < numberCount; ++i)
            if (watch.numbers[i] != watch.firstNumbers[i])
                changes.push_back(Change{uint32_t(i), RValue(FromBits(watch.numbers[i]))});
    }
    bool plain = true;
    watch.layout.VisitSlots([&](size_t index, const RValue& value) {
        const RValue& first = watch.firstSlots[index];
        if (value.kindWord == first.kindWord && value.i64 == first.i64 && value.flags == first.flags)
            return; // the same bits: a number, or the string the first state shared
        if (value.isArray() && value.arr != watch.firstArrays[index]) {
            plain = false;
            return;
        }
        if (SameValue(value, first))
            return;
        if (!Plain(value) || !Plain(first)) {
            plain = false;
            return;
        }
        changes.push_back(Change{uint32_t(numberCount + index), value});
    });
    return plain;
}

void WriteCell(size_t index, const RValue& value) {
    const size_t numbers = watch.firstNumbers.size();
    if (index < numbers)
        watch.layout.WriteNumber(index, value.real);
    else
        watch.layout.SlotCell(index - numbers) = value;
}

RValue FirstValue(size_t index) {
    const size_t numbers = watch.firstNumbers.size();
    return index < numbers ? RValue(FromBits(watch.firstNumbers[index])) : watch.firstSlots[index - numbers];
}

void ForgetFuture() {
    watch.prefix.clear();
    watch.repetition.clear();
    watch.position = 0;
}

bool NotQuiet(const char* why) {
    watch.reason = why;
    watch.running = false;
    ForgetFuture();
    return false;
}

// The state `steps` frames after the state now, as an index for StateAt.
size_t Later(size_t steps) {
    const size_t before = watch.prefix.size();
    if (watch.position + steps < before)
        return watch.position + steps;
    return before + (watch.position + steps - before) % watch.repetition.size();
}

const Changes& StateAt(size_t index) {
    const size_t before = watch.prefix.size();
    return index < before ? watch.prefix[index]
                          : watch.repetition[(index - before) % watch.repetition.size()];
}

// Once the state is in the repetition, the states before it are no longer needed.
void MoveTo(size_t index) {
    watch.position = index;
    if (!watch.prefix.empty() && index >= watch.prefix.size()) {
        watch.position = index - watch.prefix.size();
        watch.prefix.clear();
    }
}

// The cells as state `then` has them, from state `now`: changed in either, the target's value, else
// the run's first one.
void MoveState(const Changes& now, const Changes& then) {
    size_t a = 0, b = 0;
    while (a < now.size() || b < then.size()) {
        if (b < then.size() && (a == now.size() || then[b].index <= now[a].index)) {
            if (a < now.size() && now[a].index == then[b].index)
                ++a;
            WriteCell(then[b].index, then[b].value);
            ++b;
        } else {
            WriteCell(now[a].index, FirstValue(now[a].index));
            ++a;
        }
    }
}

void TakeSnapshot(Watch::Snapshot& saved) {
    saved.layout = watch.layout;
    saved.layout.ReadNumbers(saved.numbers);
    saved.imageIndexes.clear();
    for (const Layout::Entry& entry : saved.layout.entries)
        saved.imageIndexes.push_back(entry.instance->imageIndex);
    saved.slots.clear();
    saved.arrayContents.clear();
    saved.layout.VisitSlots([&](size_t, const RValue& value) {
        saved.slots.push_back(value);
        saved.arrayContents.push_back(value.isArray() ? DeepCopy(value) : RValue());
    });
}

// Frames run ahead create no instance and change no room, so the layout is the one saved; a log line
// says so if that ever stops holding.
void PutBack(const Watch::Snapshot& saved) {
    if (!saved.layout.Holds()) {
        Platform_Log("Frames run ahead changed the instances; their values stay as those frames left them\n");
        return;
    }
    for (size_t i = 0; i < saved.numbers.size(); ++i)
        saved.layout.WriteNumber(i, FromBits(saved.numbers[i]));
    for (size_t i = 0; i < saved.imageIndexes.size(); ++i)
        saved.layout.entries[i].instance->imageIndex = saved.imageIndexes[i];
    for (size_t i = 0; i < saved.slots.size(); ++i) {
        RValue& cell = saved.layout.SlotCell(i);
        cell = saved.slots[i];
        if (cell.isArray())
            cell.arr->rows = saved.arrayContents[i].arr->rows;
    }
}
} // namespace

void Runner_MarkFrame(const char* what) {
    if (watch.ahead)
        throw RunAheadStop{};
    if (!watch.marked) {
        watch.marked = true;
        watch.reason = what;
    }
}

void Runner_NoteCursor(int cursor) {
    if (cursor != watch.cursor)
        Runner_MarkFrame("window_set_cursor");
    watch.cursor = cursor;
}

void Runner_QuietStart(bool enabled) {
    watch = Watch{};
    watch.enabled = enabled;
}

bool Runner_QuietEnabled() {
    return watch.enabled;
}

void Runner_QuietBeginFrame() {
    watch.marked = false;
    watch.reason = "";
}

const char* Runner_QuietReason() {
    return watch.reason;
}

bool Runner_QuietEndFrame(bool inputChanged, bool presented, bool roomPending) {
    watch.settling = false;
    if (!watch.enabled)
        return false;
    if (watch.marked)
        return NotQuiet(watch.reason);
    if (inputChanged)
        return NotQuiet("input");
    if (presented)
        return NotQuiet("a new picture");
    if (roomPending)
        return NotQuiet("a room change");
    if (!watch.running || !watch.layout.Holds()) {
        watch.reason = watch.running ? "the instances changed" : "the first quiet frame";
        StartRun();
        watch.settling = true;
        return false;
    }
    if (!CurrentChanges()) {
        watch.reason = "an array or pointer changed";
        StartRun();
        watch.settling = true;
        return false;
    }
    if (!watch.repetition.empty()) {
        const size_t next = Later(1);
        if (SameChanges(watch.changes, StateAt(next))) {
            MoveTo(next);
            return true;
        }
        // Off the states to come (a frame read something that had changed): look again from here.
        ForgetFuture();
        watch.recent.clear();
        watch.seen.clear();
    }
    const uint64_t hash = HashChanges(watch.changes);
    const uint64_t number = watch.recentStart + watch.recent.size();
    if (const auto found = watch.seen.find(hash);
        found != watch.seen.end() && found->second >= watch.recentStart) {
        const Changes& then = watch.recent[size_t(found->second - watch.recentStart)];
        if (SameChanges(then, watch.changes)) {
            // The states from that one to the last are one repetition, and the state now is its first.
            for (size_t k = size_t(found->second - watch.recentStart); k < watch.recent.size(); ++k)
                watch.repetition.push_back(std::move(watch.recent[k]));
            watch.recent.clear();
            watch.seen.clear();
            watch.prefix.clear();
            watch.position = 0;
            return true;
        }
    }
    watch.reason = "a new state";
    watch.settling = true;
    watch.seen[hash] = number;
    watch.recent.push_back(watch.changes);
    if (watch.recent.size() > LongestRepetition) {
        watch.recent.pop_front();
        ++watch.recentStart;
    }
    if (watch.seen.size() > 4 * LongestRepetition)
        std::erase_if(watch.seen, [](const auto& entry) { return entry.second < watch.recentStart; });
    return false;
}

void Runner_QuietResume(int64_t skipped) {
    if (skipped <= 0)
        return;
    if (!watch.repetition.empty()) {
        const size_t target = Later(size_t(skipped));
        MoveState(StateAt(watch.position), StateAt(target));
        MoveTo(target);
    }
    Runner_AdvanceFreeAnimations(skipped);
}

bool Runner_QuietSettling() {
    return watch.settling;
}

void Runner_AheadBegin() {
    watch.ahead = true;
    watch.aheadRun = watch.runs;
    watch.aheadStates.assign(1, watch.changes);
    TakeSnapshot(watch.saved);
}

bool Runner_AheadFrameEnd(bool inputChanged, bool pictureChanged, bool roomPending) {
    if (Runner_QuietEndFrame(inputChanged, pictureChanged, roomPending))
        return false;
    if (!watch.settling || watch.runs != watch.aheadRun)
        return false;
    watch.aheadStates.push_back(watch.changes);
    return true;
}

bool Runner_AheadEnd() {
    watch.ahead = false;
    PutBack(watch.saved);
    watch.saved = {};
    watch.marked = false;
    const bool found = !watch.repetition.empty() && watch.runs == watch.aheadRun;
    if (found) {
        // The repetition's first state follows the last state passed through.
        watch.prefix = std::move(watch.aheadStates);
        watch.position = 0;
        watch.reason = "";
    } else {
        watch.running = false;
        ForgetFuture();
    }
    watch.aheadStates.clear();
    return found;
}

namespace {
// Every cell as the state holds it, free-running animations included, for tests.
template <typename Visit> void VisitWholeState(Visit visit) {
    Layout layout;
    layout.Take();
    for (Layout::Entry& entry : layout.entries)
        entry.freeRunning = false;
    std::vector<uint64_t> numbers;
    layout.ReadNumbers(numbers);
    size_t instance = 0;
    for (size_t i = 0; i < numbers.size(); ++i) {
        std::string where;
        if (i < DrawCellCount) {
            where = "draw " + std::to_string(i);
        } else {
            const size_t at = i - DrawCellCount;
            instance = at / FieldCount;
            const CInstance& owner = *layout.entries[instance].instance;
            where = "instance " + std::to_string(owner.id) + " object " + std::to_string(owner.objectIndex) +
                    " " + FieldNames[at % FieldCount];
        }
        visit(where, RValue(FromBits(numbers[i])));
    }
    size_t entry = 0, inEntry = 0;
    layout.VisitSlots([&](size_t, const RValue& value) {
        while (entry < layout.entries.size() && inEntry == layout.entries[entry].slots) {
            ++entry;
            inEntry = 0;
        }
        const std::string where = entry < layout.entries.size()
                                      ? "instance " + std::to_string(layout.entries[entry].instance->id) +
                                            " object " +
                                            std::to_string(layout.entries[entry].instance->objectIndex) +
                                            " slot " + std::to_string(inEntry)
                                      : "global slot " + std::to_string(inEntry);
        ++inEntry;
        visit(where, value);
    });
}
} // namespace

uint64_t Runner_StateFingerprint() {
    uint64_t hash = 14695981039346656037ull;
    VisitWholeState([&](const std::string& where, const RValue& value) {
        HashBytes(hash, where.data(), where.size());
        HashValue(hash, value);
    });
    return hash;
}

std::string Runner_StateCells() {
    std::string text;
    VisitWholeState([&](const std::string& where, const RValue& value) {
        char bits[40];
        std::snprintf(bits, sizeof bits, " (%a)", value.is(Kind::Real) ? value.real : 0.0);
        text += where + ": " + (value.is(Kind::Ptr) ? std::string("pointer") : ToDisplayString(value)) +
                (value.is(Kind::Real) ? bits : "") + "\n";
    });
    return text;
}
