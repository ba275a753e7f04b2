#pragma once
// Names and values made from fuzz input, leaning towards the characters that matter to
// quoting: quotes of every kind, brackets, braces, backslashes, separators, NUL,
// characters beyond ASCII and lone surrogates.

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>

#include "db/values/ado_type.h"
#include "db/values/value.h"

namespace dorvane::fuzz {

QString text(FuzzedDataProvider& in, std::size_t maxLength);
db::Value value(FuzzedDataProvider& in);
// One of the ADO type codes a driver reports, or now and then any code at all.
db::AdoType adoType(FuzzedDataProvider& in);

}  // namespace dorvane::fuzz
