#include "Code/Code_Variable.h"
#include "Code/Code_Error.h"
#include "Support/Win32/Support_System.h"
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <type_traits>
#include <utility>

namespace {
double ParseNumber(const std::string& text) {
    return System_ParseNumber(text.c_str());
}
} // namespace

const char* KindName(Kind kind) {
    switch (kind) {
    case Kind::Real:
        return "number";
    case Kind::String:
        return "string";
    case Kind::Array:
        return "array";
    case Kind::Ptr:
        return "ptr";
    case Kind::Vec3:
        return "vec3";
    case Kind::Undefined:
        return "undefined";
    case Kind::Object:
        return "object";
    case Kind::Int32:
        return "int32";
    case Kind::Vec4:
        return "vec4";
    case Kind::Vec44:
        return "vec44";
    case Kind::Int64:
        return "int64";
    case Kind::Accessor:
        return "accessor";
    case Kind::Null:
        return "null";
    case Kind::Bool:
        return "bool";
    case Kind::Iterator:
        return "iterator";
    default:
        return "unknown";
    }
}

RValue::RValue(const char* text) : RValue(std::string_view(text ? text : "")) {}

RValue::RValue(std::string_view text) : str(new StringHolder{std::string(text)}), kindWord(1) {}

RValue RValue::Int32(int32_t value) {
    RValue v;
    v.i64 = 0;
    v.i32 = value;
    v.kindWord = static_cast<uint32_t>(Kind::Int32);
    return v;
}

RValue RValue::Int64(int64_t value) {
    RValue v;
    v.i64 = value;
    v.kindWord = static_cast<uint32_t>(Kind::Int64);
    return v;
}

RValue RValue::Bool(bool value) {
    RValue v;
    v.real = value ? 1.0 : 0.0;
    v.kindWord = static_cast<uint32_t>(Kind::Bool);
    return v;
}

RValue RValue::Pointer(void* pointer) {
    RValue v;
    v.ptr = pointer;
    v.kindWord = static_cast<uint32_t>(Kind::Ptr);
    return v;
}

RValue RValue::OwnedPointer(OwnedObject* object) {
    RValue v = Pointer(object);
    v.flags = OwnsPointer;
    return v;
}

RValue RValue::Unset() {
    RValue v;
    v.kindWord = static_cast<uint32_t>(Kind::Unset);
    return v;
}

RValue RValue::NewArray() {
    RValue v;
    v.arr = new ArrayHolder;
    v.arr->owner = &v;
    v.kindWord = static_cast<uint32_t>(Kind::Array);
    return v;
}

RValue::RValue(const RValue& other) : i64(0) {
    CopyFrom(other);
}

void RValue::AdoptArrayFrom(const RValue& other) {
    if (arr->owner == &other) {
        arr->owner = this;
    }
}

RValue& RValue::operator=(const RValue& other) {
    if (this != &other) {
        RValue copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void RValue::CopyFrom(const RValue& other) {
    i64 = other.i64;
    flags = other.flags;
    kindWord = other.kindWord;
    switch (other.kind()) {
    case Kind::String:
        ++str->refs;
        break;
    case Kind::Array:
        ++arr->refs;
        if (arr->owner == nullptr) {
            arr->owner = this;
        }
        break;
    case Kind::Ptr:
        // Only one cell may own the pointed object; copies just point at it.
        flags &= ~OwnsPointer;
        break;
    default:
        break;
    }
}

void RValue::DropStorage() {
    switch (kind()) {
    case Kind::String:
        if (--str->refs == 0) {
            delete str;
        }
        break;
    case Kind::Array:
        if (arr->owner == this) {
            arr->owner = nullptr;
        }
        if (--arr->refs == 0) {
            delete arr;
        }
        break;
    case Kind::Ptr:
        delete static_cast<OwnedObject*>(ptr);
        break;
    default:
        break;
    }
}

void RValue::SetString(std::string_view text) {
    *this = RValue(text);
}

std::string_view RValue::Text() const {
    return isString() ? std::string_view(str->text) : std::string_view();
}

double RValue::ConvertToReal() const {
    switch (kind()) {
    case Kind::Real:
    case Kind::Bool:
        return real;
    case Kind::Int32:
        return i32;
    case Kind::Int64:
        return static_cast<double>(i64);
    case Kind::String:
        return str->text.empty() ? 0.0 : ParseNumber(str->text);
    case Kind::Undefined:
        return 0.0;
    case Kind::Array:
        return arr->rows.empty() || arr->rows[0].empty() ? 0.0 : arr->rows[0][0].AsReal();
    case Kind::Unset:
        RuntimeError("REAL argument is unset");
    default:
        RuntimeError("REAL argument incorrect type %d", static_cast<int>(kind()));
    }
}

int32_t RValue::AsInt32() const {
    if (is(Kind::Int32)) {
        return i32;
    }
    if (is(Kind::Int64)) {
        return static_cast<int32_t>(i64);
    }
    double value = AsReal();
    if (std::isfinite(value) && value < 2147483648.0 && value > -2147483649.0) {
        return static_cast<int32_t>(value);
    }
    // Out of range: wrap through 64 bits where that is defined, else 0.
    return std::isfinite(value) && std::fabs(value) < 9.2e18
               ? static_cast<int32_t>(static_cast<int64_t>(value))
               : 0;
}

int64_t RValue::AsInt64() const {
    if (is(Kind::Int64)) {
        return i64;
    }
    if (is(Kind::Int32)) {
        return i32;
    }
    double value = AsReal();
    if (!std::isfinite(value) || std::fabs(value) >= 9.2e18) {
        return 0;
    }
    return static_cast<int64_t>(value);
}

namespace {
void SplitIndex(int64_t index, int& row, int& column) {
    row = static_cast<int>(index / ArrayRowStride);
    column = static_cast<int>(index % ArrayRowStride);
}
} // namespace

const RValue& RValue::Element(int64_t index) const {
    int row, column;
    SplitIndex(index, row, column);
    if (!isArray() || row < 0 || row >= static_cast<int>(arr->rows.size())) {
        RuntimeError("first index out of bounds request %d maximum size is %d", row,
                     isArray() ? RowCount() : 0);
    }
    const auto& cells = arr->rows[row];
    if (column < 0 || column >= static_cast<int>(cells.size())) {
        RuntimeError("second index out of bounds request %d,%d maximum size is %d", row, column,
                     static_cast<int>(cells.size()));
    }
    return cells[column];
}

RValue& RValue::ElementForWrite(int64_t index) {
    if (!isArray()) {
        RuntimeError("trying to index a variable which is not an array");
    }
    int row, column;
    SplitIndex(index, row, column);
    if (row < 0 || column < 0) {
        RuntimeError("first index out of bounds request %d maximum size is %d", row, RowCount());
    }
    if (row >= static_cast<int>(arr->rows.size())) {
        arr->rows.resize(row + 1);
    }
    auto& cells = arr->rows[row];
    if (column >= static_cast<int>(cells.size())) {
        cells.resize(column + 1, RValue(0.0));
    }
    return cells[column];
}

int RValue::RowCount() const {
    return isArray() ? static_cast<int>(arr->rows.size()) : 0;
}

int RValue::RowLength(int row) const {
    return isArray() && row >= 0 && row < RowCount() ? static_cast<int>(arr->rows[row].size()) : 0;
}

void RValue::Append(const RValue& value) {
    if (!isArray()) {
        RuntimeError("trying to index a variable which is not an array");
    }
    if (arr->rows.empty()) {
        arr->rows.emplace_back();
    }
    arr->rows[0].push_back(value);
}

std::string ToDisplayString(const RValue& value) {
    // "%.2f" of the largest double needs over 300 characters.
    char buffer[400];
    switch (value.kind()) {
    case Kind::Real: {
        double number = value.real;
        if (std::isnan(number)) {
            return "NaN";
        }
        if (std::fabs(number) < 9.2e18 && number == static_cast<double>(static_cast<int64_t>(number))) {
            std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(number));
        } else {
            // "%.2f" in the C locale
            auto end = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed, 2).ptr;
            return std::string(buffer, end);
        }
        return buffer;
    }
    case Kind::Int32:
        return std::to_string(value.i32);
    case Kind::Int64:
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value.i64));
        return buffer;
    case Kind::Bool:
        return value.real != 0 ? "1" : "0";
    case Kind::Undefined:
        return "undefined";
    case Kind::String:
        return std::string(value.Text());
    case Kind::Ptr:
        std::snprintf(buffer, sizeof buffer, "%p", value.ptr);
        return buffer;
    case Kind::Array: {
        std::string text = "{ ";
        for (int row = 0; row < value.RowCount(); ++row) {
            text += "{ ";
            for (const RValue& cell : value.arr->rows[row]) {
                text += ToDisplayString(cell);
                text += ",";
            }
            text += " },";
        }
        return text + " }";
    }
    default:
        return KindName(value.kind());
    }
}

namespace {
bool IsNumberLike(const RValue& v) {
    return v.is(Kind::Real) || v.is(Kind::Bool);
}

[[noreturn]] void InvalidTypes(const char* op, const RValue& lhs, const RValue& rhs) {
    RuntimeError("invalid type for %s lhs=%s (type=%d), rhs=%s (type=%d)", op, ToDisplayString(lhs).c_str(),
                 static_cast<int>(lhs.kind()), ToDisplayString(rhs).c_str(), static_cast<int>(rhs.kind()));
}

bool IsInteger(const RValue& v) {
    return v.is(Kind::Int32) || v.is(Kind::Int64);
}

// The shared shape of -=, *= and /=: two integers stay integers (int32 only when both are); any other
// number on the left gives a double, the right value read as a number (a string too).
template <typename Op> void Arithmetic(const char* opText, RValue& lhs, const RValue& rhs, Op op) {
    if (lhs.is(Kind::Int32) && rhs.is(Kind::Int32)) {
        lhs = RValue::Int32(static_cast<int32_t>(op(int64_t{lhs.i32}, int64_t{rhs.i32})));
    } else if (IsInteger(lhs) && IsInteger(rhs)) {
        lhs = RValue::Int64(op(lhs.AsInt64(), rhs.AsInt64()));
    } else if (IsInteger(lhs) || IsNumberLike(lhs)) {
        lhs = RValue(op(lhs.AsReal(), rhs.AsReal()));
    } else {
        InvalidTypes(opText, lhs, rhs);
    }
}
} // namespace

void AddConstant(RValue& value, double number) {
    switch (value.kind()) {
    case Kind::Int32:
        value = RValue::Int32(static_cast<int32_t>(value.i32 + static_cast<int64_t>(number)));
        break;
    case Kind::Int64:
        value = RValue::Int64(value.i64 + static_cast<int64_t>(number));
        break;
    case Kind::Real:
    case Kind::Bool:
        value.real += number;
        break;
    case Kind::String:
        RuntimeError("unable to add a number to string");
    default:
        InvalidTypes("+", value, RValue(number));
    }
}

void AddValues(RValue& lhs, const RValue& rhs) {
    switch (lhs.kind()) {
    case Kind::Int32:
        lhs = RValue::Int32(lhs.i32 + rhs.AsInt32());
        break;
    case Kind::Int64:
        lhs = RValue::Int64(lhs.i64 + rhs.AsInt64());
        break;
    case Kind::Real:
    case Kind::Bool:
        lhs.real += rhs.AsReal();
        break;
    case Kind::String:
        if (!rhs.isString()) {
            RuntimeError("unable to add a number to string");
        }
        lhs = RValue(std::string(lhs.Text()) + std::string(rhs.Text()));
        break;
    default:
        InvalidTypes("+=", lhs, rhs);
    }
}

void SubtractValues(RValue& lhs, const RValue& rhs) {
    Arithmetic("-=", lhs, rhs, [](auto a, auto b) { return a - b; });
}

void MultiplyValues(RValue& lhs, const RValue& rhs) {
    Arithmetic("*=", lhs, rhs, [](auto a, auto b) { return a * b; });
}

void DivideValues(RValue& lhs, const RValue& rhs) {
    // An integer division by zero (or of the lowest int64 by -1) would end the process with SIGFPE.
    if (IsInteger(lhs) && IsInteger(rhs) && rhs.AsInt64() == 0) {
        RuntimeError("Divide by zero");
    }
    Arithmetic("/=", lhs, rhs, [](auto a, auto b) {
        if constexpr (std::is_integral_v<decltype(a)>) {
            if (b == -1) {
                return static_cast<decltype(a)>(0 - static_cast<uint64_t>(a)); // wraps as the hardware would
            }
        }
        return a / b;
    });
}

RValue operator+(const RValue& a, const RValue& b) {
    RValue result(a);
    AddValues(result, b);
    return result;
}

RValue operator-(const RValue& a, const RValue& b) {
    RValue result(a);
    SubtractValues(result, b);
    return result;
}

RValue operator*(const RValue& a, const RValue& b) {
    RValue result(a);
    MultiplyValues(result, b);
    return result;
}

RValue operator/(const RValue& a, const RValue& b) {
    RValue result(a);
    DivideValues(result, b);
    return result;
}

bool ValuesEqual(const RValue& a, const RValue& b) {
    if (a.isString() || b.isString()) {
        return a.isString() && b.isString() && a.Text() == b.Text();
    }
    if (a.is(Kind::Undefined) || b.is(Kind::Undefined)) {
        return a.is(Kind::Undefined) && b.is(Kind::Undefined);
    }
    if (a.is(Kind::Ptr) || b.is(Kind::Ptr)) {
        return a.is(Kind::Ptr) && b.is(Kind::Ptr) && a.ptr == b.ptr;
    }
    if (a.isArray() || b.isArray()) {
        return a.isArray() && b.isArray() && a.arr == b.arr;
    }
    return std::fabs(a.AsReal() - b.AsReal()) <= CompareEpsilon;
}

bool ValueLess(const RValue& a, const RValue& b) {
    if (a.isString() && b.isString()) {
        return a.Text() < b.Text();
    }
    return a.AsReal() < b.AsReal() - CompareEpsilon;
}
