#pragma once
// Times of day as drivers give them in text.

#include <string>
#include <string_view>

#include "db/values/value.h"

namespace dorvane::db {

// "HH:MM:SS" with an optional fraction of up to nine digits; throws DbError otherwise.
DateTimeParts parseTimeText(std::string_view text);

// A date and time that starts with a year of fewer than four digits, the year padded
// with zeros ("1-01-01 ..." becomes "0001-01-01 ..."); any other text as it is.
std::string fourDigitYear(std::string_view text);

}  // namespace dorvane::db
