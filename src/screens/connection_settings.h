#pragma once
// The settings keys of the connection screen and the transfer screen, with their
// defaults, in the order start-up restores them.

#include <QString>
#include <array>

#include "core/controls.h"

namespace dorvane::screens {

// The connection screen's text fields, by what they hold.
struct ConnectionFields {
    core::TextField* postgresServer = nullptr;
    core::TextField* postgresPort = nullptr;
    core::TextField* postgresUser = nullptr;
    core::TextField* postgresPassword = nullptr;
    core::TextField* postgresDatabase = nullptr;
    core::TextField* mssqlServer = nullptr;
    core::TextField* mssqlUser = nullptr;
    core::TextField* mssqlPassword = nullptr;
    core::TextField* mssqlDatabase = nullptr;
    core::TextField* mssqlPort = nullptr;
};

// One of the fields; the null member stands for the "Local Connection" box.
using ConnectionField = core::TextField* ConnectionFields::*;
constexpr ConnectionField kLocalConnectionBox = nullptr;

struct ConnectionSetting {
    ConnectionField field;
    const char* key;
    const char* defaultValue;
    int restoreLine;  // the start-up line that restores it
};

inline constexpr std::array<ConnectionSetting, 11> kConnectionSettings{{
    {&ConnectionFields::postgresServer, "PostgreSQLServer", "localhost", 130},
    {&ConnectionFields::postgresPort, "PostgreSQLPort", "5432", 132},
    {&ConnectionFields::postgresUser, "PostgreSQLUser", "", 134},
    {&ConnectionFields::postgresPassword, "PostgreSQLPassword", "", 136},
    {&ConnectionFields::postgresDatabase, "PostgreSQLDatabase", "", 138},
    {kLocalConnectionBox, "Local Connection", "0", 140},
    {&ConnectionFields::mssqlServer, "MSSQLServer", "", 142},
    {&ConnectionFields::mssqlUser, "MSSQLUser", "", 144},
    {&ConnectionFields::mssqlPassword, "MSSQLPassword", "", 146},
    {&ConnectionFields::mssqlDatabase, "MSSQLDatabase", "", 148},
    {&ConnectionFields::mssqlPort, "MSSQLPort", "1433", 150},
}};

// The setting of a field, or of the box (kLocalConnectionBox).
const ConnectionSetting& connectionSetting(ConnectionField field);

inline const QString kCustomizePostgresKey = QStringLiteral("With Data Type Change 1");
inline const QString kCustomizeSqlServerKey = QStringLiteral("With Data Type Change 2");
// "Fast copy" towards PostgreSQL and towards SQL Server.
inline const QString kFastCopyPostgresKey = QStringLiteral("Fast Copy 1");
inline const QString kFastCopySqlServerKey = QStringLiteral("Fast Copy 2");
// "Natural types" towards PostgreSQL and towards SQL Server.
inline const QString kNaturalTypesPostgresKey = QStringLiteral("Natural Types 1");
inline const QString kNaturalTypesSqlServerKey = QStringLiteral("Natural Types 2");
inline const QString kUnticked = QStringLiteral("0");

// A stored box state: "0" leaves the box unticked, any other text ticks it.
inline int boxValueFromSetting(const QString& stored) {
    return stored == kUnticked ? 0 : 1;
}
inline QString settingFromBoxValue(int value) {
    return value == 1 ? QStringLiteral("1") : kUnticked;
}

}  // namespace dorvane::screens
