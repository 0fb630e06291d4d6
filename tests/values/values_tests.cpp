#include "Code/Code_Error.h"
#include "Code/Code_Variable.h"
#include "Object/Object_Class.h"
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {
std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ScriptError& error) {
        return error.what();
    }
    return "(no error)";
}
} // namespace

TEST(Values, StringsAreSharedAndOutliveTheirFirstCell) {
    auto* original = new RValue("shared text");
    StringHolder* holder = original->str;
    RValue copy(*original);
    EXPECT_EQ(holder, copy.str);
    EXPECT_EQ(2, holder->refs);
    delete original;
    EXPECT_EQ(1, copy.str->refs);
    EXPECT_EQ("shared text", copy.Text());
    copy.Release();
    EXPECT_TRUE(copy.is(Kind::Undefined));
}

TEST(Values, ArraysAreSharedWithAnOwner) {
    RValue array = RValue::NewArray();
    array.ElementForWrite(0) = RValue("a");
    EXPECT_EQ(&array, array.arr->owner);
    {
        RValue other(array);
        EXPECT_EQ(2, array.arr->refs);
        EXPECT_EQ(&array, array.arr->owner);
    }
    EXPECT_EQ(1, array.arr->refs);
    RValue survivor;
    {
        RValue first = RValue::NewArray();
        first.ElementForWrite(ArrayRowStride + 1) = RValue(7.0);
        survivor = first;
    }
    EXPECT_EQ(7.0, survivor.Element(32001).AsReal());
    EXPECT_EQ(2, survivor.RowCount());
}

TEST(Values, OwnedPointersAreDestroyedOnceWhenReleased) {
    static int destroyed = 0;
    struct Probe : OwnedObject {
        ~Probe() override { ++destroyed; }
    };
    {
        RValue owner = RValue::OwnedPointer(new Probe);
        RValue viewer(owner);
        EXPECT_EQ(0u, viewer.flags & OwnsPointer);
    }
    EXPECT_EQ(1, destroyed);
}

TEST(Values, ReadingAsNumber) {
    EXPECT_EQ(12.5, RValue("12.5").AsReal());
    EXPECT_EQ(0.0, RValue("").AsReal());
    EXPECT_EQ(0.0, RValue().AsReal());
    EXPECT_EQ(1.0, RValue::Bool(true).AsReal());
    EXPECT_EQ(-3.0, RValue::Int32(-3).AsReal());
    RValue array = RValue::NewArray();
    array.ElementForWrite(0) = RValue(4.0);
    EXPECT_EQ(4.0, array.AsReal());
    EXPECT_EQ("REAL argument is unset", ErrorOf([] { RValue::Unset().AsReal(); }));
    EXPECT_EQ("REAL argument incorrect type 3", ErrorOf([] { RValue::Pointer(nullptr).AsReal(); }));
}

namespace {
void ExpectKindAndValue(const RValue& value, Kind kind, double number) {
    EXPECT_EQ(static_cast<int>(kind), static_cast<int>(value.kind()));
    EXPECT_EQ(number, value.AsReal());
}
} // namespace

TEST(Values, AddingAConstantKeepsTheKind) {
    RValue i32 = RValue::Int32(1);
    AddConstant(i32, 1);
    AddConstant(i32, 0.5);
    ExpectKindAndValue(i32, Kind::Int32, 2);
    RValue i64 = RValue::Int64(int64_t{1} << 40);
    AddConstant(i64, 2);
    ExpectKindAndValue(i64, Kind::Int64, static_cast<double>((int64_t{1} << 40) + 2));
    RValue flag = RValue::Bool(true);
    AddConstant(flag, 0.5);
    ExpectKindAndValue(flag, Kind::Bool, 1.5);
    RValue text("a");
    EXPECT_EQ("unable to add a number to string", ErrorOf([&] { AddConstant(text, 1); }));
}

// The left value's kind decides; a number or bool on the left reads the right value as a number.
TEST(Values, ArithmeticOfMixedKinds) {
    EXPECT_EQ("ab", (RValue("a") + RValue("b")).Text());
    ExpectKindAndValue(RValue(1.0) + RValue(2.5), Kind::Real, 3.5);
    ExpectKindAndValue(RValue(2.0) + RValue("12.5"), Kind::Real, 14.5);
    ExpectKindAndValue(RValue::Int32(5) + RValue(2.9), Kind::Int32, 7);
    ExpectKindAndValue(RValue::Int64(5) + RValue::Int32(2), Kind::Int64, 7);
    EXPECT_EQ("unable to add a number to string", ErrorOf([] { RValue("a") + RValue(1.0); }));
    EXPECT_EQ("invalid type for += lhs=undefined (type=5), rhs=1 (type=0)",
              ErrorOf([] { RValue() + RValue(1.0); }));
    // a bool on the left of -=, *=, /= gives a double
    ExpectKindAndValue(RValue::Bool(true) - RValue("0.25"), Kind::Real, 0.75);
    ExpectKindAndValue(RValue::Bool(true) * RValue(3.0), Kind::Real, 3);
    ExpectKindAndValue(RValue::Bool(true) / RValue(4.0), Kind::Real, 0.25);
    ExpectKindAndValue(RValue(1.0) / RValue("4"), Kind::Real, 0.25);
    ExpectKindAndValue(RValue(7.0) / RValue::Int32(2), Kind::Real, 3.5);
    ExpectKindAndValue(RValue::Int32(7) / RValue::Int32(2), Kind::Int32, 3);
    ExpectKindAndValue(RValue::Int32(7) / RValue::Int64(2), Kind::Int64, 3);
    ExpectKindAndValue(RValue::Int32(7) / RValue(2.0), Kind::Real, 3.5);
    ExpectKindAndValue(RValue::Int32(7) - RValue::Int32(9), Kind::Int32, -2);
    EXPECT_EQ("invalid type for /= lhs=s (type=1), rhs=2 (type=0)",
              ErrorOf([] { RValue("s") / RValue(2.0); }));
    // An integer division by zero is the runtime's error, not a signal; a real one gives infinity.
    EXPECT_EQ("Divide by zero", ErrorOf([] { RValue::Int32(7) / RValue::Int32(0); }));
    EXPECT_EQ("Divide by zero", ErrorOf([] { RValue::Int64(7) / RValue::Int32(0); }));
    EXPECT_TRUE(std::isinf((RValue::Int32(7) / RValue(0.0)).AsReal()));
    ExpectKindAndValue(RValue::Int64(INT64_MIN) / RValue::Int64(-1), Kind::Int64, double(INT64_MIN));
}

TEST(Values, ComparisonsUseTheEpsilon) {
    EXPECT_TRUE(RValue(0.1 + 0.2) == RValue(0.3));
    EXPECT_FALSE(RValue(1.0) == RValue(1.0 + 1e-9));
    EXPECT_TRUE(RValue("x") == RValue("x"));
    EXPECT_FALSE(RValue("1") == RValue(1.0));
    EXPECT_TRUE(RValue(0.24) < RValue(0.25));
    EXPECT_FALSE(RValue(1e-11) > RValue(0.0));
}

TEST(Values, ArrayBoundsErrors) {
    RValue array = RValue::NewArray();
    array.ElementForWrite(2) = RValue(1.0);
    EXPECT_EQ(1.0, array.Element(2).AsReal());
    EXPECT_EQ("second index out of bounds request 0,3 maximum size is 3", ErrorOf([&] { array.Element(3); }));
    EXPECT_EQ("first index out of bounds request 1 maximum size is 1",
              ErrorOf([&] { array.Element(32000); }));
    EXPECT_EQ("first index out of bounds request -1 maximum size is 1",
              ErrorOf([&] { array.Element(-32000); }));
    EXPECT_EQ("first index out of bounds request 0 maximum size is 0",
              ErrorOf([] { RValue(1.0).Element(0); }));
    RValue number(1.0);
    EXPECT_EQ("trying to index a variable which is not an array",
              ErrorOf([&] { number.ElementForWrite(0); }));
    // messages are cut at 1,024 bytes
    EXPECT_EQ(1023u, ErrorOf([] { RuntimeError("%s", std::string(3000, 'x').c_str()); }).size());
}

// GTK switches the process to the user's locale at its first dialog; number text must not follow.
TEST(Values, NumberTextStaysInTheCLocale) {
    std::string folder = testing::TempDir() + "values-locales";
    std::string made = "'" + folder + "/de_DE.UTF-8'";
    const int status = std::system(("test -d " + made + " || { mkdir -p '" + folder +
                                    "' && localedef -i de_DE -f UTF-8 " + made + "; } >/dev/null 2>&1")
                                       .c_str());
    setenv("LOCPATH", folder.c_str(), 1);
    if (status != 0 || std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr ||
        *std::localeconv()->decimal_point != ',') {
        GTEST_SKIP() << "no German locale could be made (package locales)";
    }
    EXPECT_EQ("2.50", ToDisplayString(RValue(2.5)));
    EXPECT_EQ(12.5, RValue("12.5").AsReal());
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
}

TEST(Instances, SlotBlockIsMadeOnFirstAccess) {
    SetInstanceSlotCount(35);
    CInstance instance;
    EXPECT_FALSE(instance.HasSlotBlock());
    RValue& first = instance.Slot(3);
    EXPECT_TRUE(instance.HasSlotBlock());
    EXPECT_TRUE(first.is(Kind::Undefined));
    first = RValue("kept");
    RValue& last = instance.Slot(34);
    last = RValue(1.0);
    // the block was made whole, so the first reference is still valid
    EXPECT_EQ("kept", first.Text());
    CreateGlobalObject(35);
    EXPECT_TRUE(GlobalObject()->HasSlotBlock());
}
