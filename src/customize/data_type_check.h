#pragma once
#include <QString>

namespace dorvane::customize {

// The types the dialog offers, one per line, as a single text that typed types are
// searched in.
const QString& acceptedTypeListText();
// The same list without "MEMO", shown by Help towards SQL Server.
const QString& helpTypeListText();

// True when the typed text occurs anywhere in the accepted list (ignoring case; the
// empty text does), or names a sized type: "binary(", "char(", "decimal(", "numeric(".
bool IsValidDataType(const QString& typed);

}  // namespace dorvane::customize
