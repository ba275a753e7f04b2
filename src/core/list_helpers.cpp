#include "core/list_helpers.h"

namespace dorvane::core {

bool listContains(const ListBox& list, const QString& text) {
    bool found = false;
    const QString wanted = text.toLower();
    for (int i = 0; i < list.count(); ++i)
        if (list.text(i).toLower() == wanted) found = true;
    return found;
}

void listRemove(ListBox& list, const QString& text) {
    const int count = list.count();
    for (int i = 0; i < count; ++i)
        // Past the shortened end an index reads as the empty text, which matches nothing.
        if (i < list.count() && list.text(i) == text) list.remove(i);
}

bool hasCurrentOrSelected(const ListBox& list) {
    return list.currentIndex() != -1 || list.selectedCount() > 0;
}

}  // namespace dorvane::core
