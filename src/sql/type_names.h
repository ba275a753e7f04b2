#pragma once
// The ADO names of field types, for the commands that choose column types by them.

#include "db/values/ado_type.h"

namespace dorvane::sql {

using db::adoTypeName;

}  // namespace dorvane::sql
