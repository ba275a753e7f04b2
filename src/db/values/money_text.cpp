#include "db/values/money_text.h"

namespace dorvane::db {

QString normaliseMoneyText(QStringView text) {
    QString digits;
    digits.reserve(text.size() + 1);
    bool negative = false;
    for (const QChar c : text) {
        if (c.isDigit()) {
            digits += QChar(u'0' + c.digitValue());
        } else if (c == u'.') {
            digits += c;
        } else if (c == u'-' || c == u'(') {
            negative = true;
        }
        // Anything else is a currency symbol, a group separator or a blank.
    }
    if (digits.startsWith(u'.')) digits.prepend(u'0');
    if (negative && !digits.isEmpty()) digits.prepend(u'-');
    return digits;
}

}  // namespace dorvane::db
