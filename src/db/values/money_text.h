#pragma once
// Money values as drivers give them in text, reduced to plain digits.

#include <QString>

namespace dorvane::db {

// "-$1,234.56" (psqlODBC, C monetary format), "($1,234.56)" and "1234.5600" (FreeTDS)
// become "-1234.56", "-1234.56" and "1234.5600": currency symbol, group separators and
// blanks dropped, the sign kept, "." as the decimal point.
QString normaliseMoneyText(QStringView text);

}  // namespace dorvane::db
