#pragma once
// The settings keys of the connection screen and the transfer screen, with their
// defaults, in the order start-up restores them.

#include <QString>
#include <array>

namespace dorvane::screens {

// Text1 … Text10 by number; 0 stands for the "Local Connection" box (Check6).
constexpr int kLocalConnectionBox = 0;

struct ConnectionSetting {
    int field;
    const char* key;
    const char* defaultValue;
    int restoreLine;  // the start-up line that restores it
};

inline constexpr std::array<ConnectionSetting, 11> kConnectionSettings{{
    {1, "PostgreSQLServer", "localhost", 130},
    {2, "PostgreSQLPort", "5432", 132},
    {3, "PostgreSQLUser", "", 134},
    {4, "PostgreSQLPassword", "", 136},
    {5, "PostgreSQLDatabase", "", 138},
    {kLocalConnectionBox, "Local Connection", "0", 140},
    {6, "MSSQLServer", "", 142},
    {7, "MSSQLUser", "", 144},
    {8, "MSSQLPassword", "", 146},
    {9, "MSSQLDatabase", "", 148},
    {10, "MSSQLPort", "1433", 150},
}};

// The setting of a field (1 to 10, or kLocalConnectionBox).
const ConnectionSetting& connectionSetting(int field);

inline const QString kCustomizePostgresKey = QStringLiteral("With Data Type Change 1");
inline const QString kCustomizeSqlServerKey = QStringLiteral("With Data Type Change 2");
// "Fast copy" towards PostgreSQL and towards SQL Server.
inline const QString kFastCopyPostgresKey = QStringLiteral("Fast Copy 1");
inline const QString kFastCopySqlServerKey = QStringLiteral("Fast Copy 2");
inline const QString kUnticked = QStringLiteral("0");

// A stored box state: "0" leaves the box unticked, any other text ticks it.
inline int boxValueFromSetting(const QString& stored) {
    return stored == kUnticked ? 0 : 1;
}
inline QString settingFromBoxValue(int value) {
    return value == 1 ? QStringLiteral("1") : kUnticked;
}

}  // namespace dorvane::screens
