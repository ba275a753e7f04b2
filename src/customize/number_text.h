#pragma once
#include <QString>

namespace dorvane::customize {

// Whether a column name reads as a number, which no server accepts as a bare column
// name in a generated statement. The grammar, blanks being spaces and tabs:
//
//     blanks* [+|-] ( digits [. digits*] | . digits ) [ (e|E) [+|-] digits ] blanks*
//
// so "42", " 3.5 ", "-1", ".5", "7.", "1e5" and "2.5E-3" read as numbers, while "",
// "1,000", "$5", "1 2", "0x1F", "e5", "1e" and "12a" do not.
bool readsAsNumber(const QString& text);

}  // namespace dorvane::customize
