// Date-times as the scripts count them: days since 30 December 1899, the fraction the time of
// day, in local time.
#ifndef LINEWORK_SCRIPT_DAY_NUMBERS_H
#define LINEWORK_SCRIPT_DAY_NUMBERS_H

#include <ctime>
#include <string>

namespace linework {

// A moment of the host clock (seconds since 1970) as a day number in local time.
double DayNumberOfTime(std::time_t seconds);
// The short date and long time of the program's one locale: "7.3.2024 9:05:02"; the time rounded
// to the second. Empty for a day number no calendar holds (beyond years 1..9999).
std::string FormatDayNumber(double day);

}  // namespace linework

#endif
