#include "builtin_test_support.h"
#include <clocale>
#include <cmath>
#include <ctime>
#include <gtest/gtest.h>

namespace {
class Dates : public testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        setenv("LC_ALL", "C", 1);
        tzset();
    }

    static std::string Format(double datetime) {
        return std::string(CallByName("date_datetime_string", {datetime}).Text());
    }
};
} // namespace

TEST_F(Dates, CurrentDatetimeCountsDaysFrom1899) {
    double before = static_cast<double>(std::time(nullptr));
    double now = CallByName("date_current_datetime").AsReal();
    double after = static_cast<double>(std::time(nullptr));
    EXPECT_GE(now, (before + 0.5) / 86400 + 25569);
    EXPECT_LE(now, (after + 0.5) / 86400 + 25569);
}

TEST_F(Dates, FormatsInTheUsersLocaleAndTimeZone) {
    EXPECT_EQ("Wed Mar 15 06:00:00 2023", Format(45000.25));
    EXPECT_EQ("Fri Jan  2 12:00:00 1970", Format(25570.5));
    // Right at the epoch the value is taken as it is.
    EXPECT_EQ("Tue Jan  3 00:00:04 2040", Format(25569.00005));
    EXPECT_EQ(LC_GLOBAL_LOCALE, uselocale(nullptr)) << "the locale switch is undone";
}

TEST_F(Dates, TimesThatCannotBeBrokenDownAreInvalid) {
    EXPECT_EQ("invalid time", Format(std::nan("")));
    EXPECT_EQ("invalid time", Format(1e300));
    EXPECT_EQ("invalid time", Format(1e14));
}
