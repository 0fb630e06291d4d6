#include "Code/Code_Error.h"
#include "Code/Code_Variable.h"
#include "Object/Object_Class.h"
#include <cmath>
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

TEST(Values, AddingAConstantKeepsTheKind) {
    RValue i32 = RValue::Int32(1);
    AddConstant(i32, 1);
    EXPECT_TRUE(i32.is(Kind::Int32));
    EXPECT_EQ(2, i32.i32);
    AddConstant(i32, 0.5);
    EXPECT_EQ(2, i32.i32);
    RValue i64 = RValue::Int64(int64_t{1} << 40);
    AddConstant(i64, 2);
    EXPECT_TRUE(i64.is(Kind::Int64));
    EXPECT_EQ((int64_t{1} << 40) + 2, i64.i64);
    RValue flag = RValue::Bool(true);
    AddConstant(flag, 0.5);
    EXPECT_TRUE(flag.is(Kind::Bool));
    EXPECT_EQ(1.5, flag.real);
    RValue text("a");
    EXPECT_EQ("unable to add a number to string", ErrorOf([&] { AddConstant(text, 1); }));
}

TEST(Values, AddingTwoValues) {
    EXPECT_EQ("ab", (RValue("a") + RValue("b")).Text());
    EXPECT_EQ(3.5, (RValue(1.0) + RValue(2.5)).AsReal());
    RValue i32 = RValue::Int32(5);
    AddValues(i32, RValue(2.9));
    EXPECT_TRUE(i32.is(Kind::Int32));
    EXPECT_EQ(7, i32.i32);
    RValue i64 = RValue::Int64(5);
    AddValues(i64, RValue::Int32(2));
    EXPECT_TRUE(i64.is(Kind::Int64));
    EXPECT_EQ(7, i64.i64);
    EXPECT_EQ("unable to add a number to string", ErrorOf([] { RValue("a") + RValue(1.0); }));
    EXPECT_EQ("invalid type for += lhs=undefined (type=5), rhs=1 (type=0)",
              ErrorOf([] { RValue() + RValue(1.0); }));
    EXPECT_EQ("invalid type for += lhs=2 (type=0), rhs=x (type=1)",
              ErrorOf([] { RValue(2.0) + RValue("x"); }));
}

TEST(Values, Dividing) {
    RValue quotient = RValue::Int32(7) / RValue::Int32(2);
    EXPECT_TRUE(quotient.is(Kind::Int32));
    EXPECT_EQ(3, quotient.i32);
    RValue wide = RValue::Int32(7) / RValue::Int64(2);
    EXPECT_TRUE(wide.is(Kind::Int64));
    RValue mixed = RValue::Int32(7) / RValue(2.0);
    EXPECT_TRUE(mixed.is(Kind::Real));
    EXPECT_EQ(3.5, mixed.real);
    EXPECT_EQ(0.25, (RValue(1.0) / RValue(4.0)).AsReal());
    EXPECT_EQ("invalid type for /= lhs=s (type=1), rhs=2 (type=0)",
              ErrorOf([] { RValue("s") / RValue(2.0); }));
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
}

TEST(Values, DisplayStrings) {
    EXPECT_EQ("2", ToDisplayString(RValue(2.0)));
    EXPECT_EQ("2.50", ToDisplayString(RValue(2.5)));
    EXPECT_EQ("-0.25", ToDisplayString(RValue(-0.25)));
    EXPECT_EQ("NaN", ToDisplayString(RValue(std::nan(""))));
    EXPECT_EQ("undefined", ToDisplayString(RValue()));
    EXPECT_EQ("1", ToDisplayString(RValue::Bool(true)));
    EXPECT_EQ("9000000000", ToDisplayString(RValue::Int64(9000000000)));
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
