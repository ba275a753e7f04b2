#pragma once
#include <QString>

#include "core/controls.h"

namespace dorvane::core {

// True when some entry equals the text, ignoring case.
bool listContains(const ListBox& list, const QString& text);
// Removes entries exactly equal to the text. The count is read once and the index
// advances after a removal too, so an entry that moves up into a removed one's place
// is not compared in this walk.
void listRemove(ListBox& list, const QString& text);
// What a command that wants a current entry checks. Selected entries count as one: after
// "Select All" the list has no current entry, yet the user sees every table chosen.
bool hasCurrentOrSelected(const ListBox& list);

}  // namespace dorvane::core
