#pragma once
// Times of day as drivers give them in text.

#include <string_view>

#include "db/value.h"

namespace dorvane::db {

// "HH:MM:SS" with an optional fraction of up to nine digits; throws DbError otherwise.
DateTimeParts parseTimeText(std::string_view text);

}  // namespace dorvane::db
