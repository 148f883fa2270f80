#include "script/day_numbers.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace linework {

namespace {

using namespace std::chrono;

constexpr sys_days kDayZero = year{1899} / December / 30;
// 1 January 1 and 31 December 9999 as day numbers.
constexpr double kFirstDay = -693593;
constexpr double kLastDay = 2958465;

}  // namespace

double DayNumberOfTime(std::time_t seconds) {
    std::tm local{};
    localtime_r(&seconds, &local);
    sys_days date = year{local.tm_year + 1900} / month{static_cast<unsigned>(local.tm_mon + 1)} /
                    day{static_cast<unsigned>(local.tm_mday)};
    double days = static_cast<double>((date - kDayZero).count());
    return days + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

std::string FormatDayNumber(double dayNumber) {
    if (!(dayNumber >= kFirstDay && dayNumber < kLastDay + 1)) return {};
    // Whole seconds from day zero; a fraction of a negative day counts forward from its midnight.
    auto total = static_cast<int64_t>(std::floor(dayNumber));
    auto seconds = static_cast<int64_t>(std::llround((dayNumber - static_cast<double>(total)) * 86400.0));
    if (seconds >= 86400) {
        ++total;
        seconds -= 86400;
    }
    year_month_day date{kDayZero + days{total}};
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%d %d:%02d:%02d", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()), static_cast<int>(date.year()), static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

}  // namespace linework
