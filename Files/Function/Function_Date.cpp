#include "Function/Function_Date.h"
#include "Code/Code_Function.h"
#include "Runner/Runner_Quiet.h"
#include "Support/Win32/Support_System.h"
#include <cmath>

namespace {
// Datetimes count days since 1899-12-30; 25569 of them lie before 1970-01-01.
constexpr double UnixEpochDays = 25569.0;
constexpr double SecondsPerDay = 86400.0;

void F_DateCurrentDatetime(RValue& result, CInstance*, CInstance*, int, RValue*) {
    Runner_MarkFrame("date_current_datetime");
    result = RValue((static_cast<double>(std::time(nullptr)) + 0.5) / SecondsPerDay + UnixEpochDays);
}

std::string FormatDatetime(double datetime) {
    // A datetime at the epoch itself is taken as it is.
    double days = std::fabs(datetime - UnixEpochDays) < 0.0001 ? datetime : datetime - UnixEpochDays;
    double seconds = std::trunc(days * SecondsPerDay);
    if (!(std::fabs(seconds) < 9.2e18)) {
        return "invalid time";
    }
    return System_LocalDatetimeText(static_cast<std::time_t>(seconds)).value_or("invalid time");
}

void F_DateDatetimeString(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(FormatDatetime(ArgReal(argc, args, 0)));
}
} // namespace

void Register_Date() {
    Function_Add("date_current_datetime", F_DateCurrentDatetime, 0);
    Function_Add("date_datetime_string", F_DateDatetimeString, 1);
}
