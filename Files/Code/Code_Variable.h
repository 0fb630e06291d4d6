// The runtime's one dynamic value type and its arithmetic.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class Kind : uint32_t {
    Real = 0,
    String = 1,
    Array = 2,
    Ptr = 3,
    Vec3 = 4,
    Undefined = 5,
    Object = 6,
    Int32 = 7,
    Vec4 = 8,
    Vec44 = 9,
    Int64 = 10,
    Accessor = 11,
    Null = 12,
    Bool = 13,
    Iterator = 14,
    Unset = 0xFFFFFF,
};

// Display name used in error texts ("number", "string", ...).
const char* KindName(Kind kind);

struct RValue;

// Shared, reference-counted text; freed when the last cell lets go.
struct StringHolder {
    std::string text;
    int refs = 1;
};

// Shared, reference-counted 2-D array of cells.
struct ArrayHolder {
    int refs = 1;
    const RValue* owner = nullptr;
    std::vector<std::vector<RValue>> rows;
};

// Base for objects a pointer value may own (flag OwnsPointer): destroyed on release.
struct OwnedObject {
    virtual ~OwnedObject() = default;
};

constexpr uint32_t OwnsPointer = 8;
// Sentinel for "no array index" in built-in variable access.
constexpr int32_t NoArrayIndex = static_cast<int32_t>(0x80000000u);
// Equality and ordering of reals are judged within this tolerance.
constexpr double CompareEpsilon = 1e-10;
// Flat array index → (row, column).
constexpr int ArrayRowStride = 32000;

struct RValue {
    union {
        double real;
        int32_t i32;
        int64_t i64;
        StringHolder* str;
        ArrayHolder* arr;
        void* ptr;
    };
    uint32_t flags = 0;
    uint32_t kindWord = static_cast<uint32_t>(Kind::Undefined);

    RValue() : i64(0) {}
    RValue(double value) : real(value), kindWord(0) {}
    RValue(int value) : real(value), kindWord(0) {}
    RValue(const char* text);
    RValue(std::string_view text);
    RValue(const std::string& text) : RValue(std::string_view(text)) {}
    static RValue Int32(int32_t value);
    static RValue Int64(int64_t value);
    static RValue Bool(bool value);
    static RValue Pointer(void* pointer);
    static RValue OwnedPointer(OwnedObject* object);
    static RValue Unset();
    static RValue NewArray();

    RValue(const RValue& other);
    RValue(RValue&& other) noexcept : i64(other.i64), flags(other.flags), kindWord(other.kindWord) {
        TakeOwnershipFrom(other);
    }
    RValue& operator=(const RValue& other);
    RValue& operator=(RValue&& other) noexcept {
        if (this != &other) {
            Release();
            i64 = other.i64;
            flags = other.flags;
            kindWord = other.kindWord;
            TakeOwnershipFrom(other);
        }
        return *this;
    }
    ~RValue() {
        if (HoldsStorage())
            DropStorage();
    }

    Kind kind() const { return static_cast<Kind>(kindWord & 0xFFFFFF); }
    bool is(Kind k) const { return kind() == k; }
    bool isString() const { return is(Kind::String); }
    bool isArray() const { return is(Kind::Array); }

    // Drops this cell's share of whatever it holds; the cell becomes undefined.
    void Release() {
        if (HoldsStorage())
            DropStorage();
        i64 = 0;
        flags = 0;
        kindWord = static_cast<uint32_t>(Kind::Undefined);
    }
    // Replaces the contents with a new string holder.
    void SetString(std::string_view text);

    // Conversions. Failures raise the runtime error texts of the value model.
    double AsReal() const { return kind() == Kind::Real ? real : ConvertToReal(); }
    int32_t AsInt32() const;
    int64_t AsInt64() const;
    bool AsBool() const { return AsReal() > 0.5; }
    // The text of a string value; empty for anything else.
    std::string_view Text() const;

    // 2-D array cells: index i → row i / 32000, column i % 32000.
    const RValue& Element(int64_t index) const;
    RValue& ElementForWrite(int64_t index);
    int RowCount() const;
    int RowLength(int row) const;
    void Append(const RValue& value);

  private:
    // Numbers need nothing on release, and most cells hold numbers, so this test stays inline.
    bool HoldsStorage() const {
        const Kind k = kind();
        return k == Kind::String || k == Kind::Array || (k == Kind::Ptr && (flags & OwnsPointer));
    }
    void DropStorage();
    double ConvertToReal() const;
    // After a move: an array owned by `other` is owned here now, and `other` is left undefined.
    void TakeOwnershipFrom(RValue& other) {
        if (is(Kind::Array))
            AdoptArrayFrom(other);
        other.flags = 0;
        other.kindWord = static_cast<uint32_t>(Kind::Undefined);
        other.i64 = 0;
    }
    void AdoptArrayFrom(const RValue& other);
    void CopyFrom(const RValue& other);
};

static_assert(sizeof(RValue) == 16, "RValue is a 16-byte cell");

// Text form of a value as the `string` built-in prints it.
std::string ToDisplayString(const RValue& value);

// value + constant (the compiled form of `value + number`), in place.
void AddConstant(RValue& value, double number);
// lhs += rhs (also the compiled form of a + b).
void AddValues(RValue& lhs, const RValue& rhs);
void SubtractValues(RValue& lhs, const RValue& rhs);
void MultiplyValues(RValue& lhs, const RValue& rhs);
void DivideValues(RValue& lhs, const RValue& rhs);

RValue operator+(const RValue& a, const RValue& b);
RValue operator-(const RValue& a, const RValue& b);
RValue operator*(const RValue& a, const RValue& b);
RValue operator/(const RValue& a, const RValue& b);

// Comparisons as compiled code makes them: numbers within CompareEpsilon, strings by text.
bool ValuesEqual(const RValue& a, const RValue& b);
bool ValueLess(const RValue& a, const RValue& b);
inline bool operator==(const RValue& a, const RValue& b) {
    return ValuesEqual(a, b);
}
inline bool operator!=(const RValue& a, const RValue& b) {
    return !ValuesEqual(a, b);
}
inline bool operator<(const RValue& a, const RValue& b) {
    return ValueLess(a, b);
}
inline bool operator>(const RValue& a, const RValue& b) {
    return ValueLess(b, a);
}
inline bool operator<=(const RValue& a, const RValue& b) {
    return !ValueLess(b, a);
}
inline bool operator>=(const RValue& a, const RValue& b) {
    return !ValueLess(a, b);
}
