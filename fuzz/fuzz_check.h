#pragma once
// Stops the fuzzer with a readable account when a property does not hold.

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "sql_tokens.h"

namespace dorvane::fuzz {

inline void require(bool holds, const char* property, const QString& detail = QString()) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n%s\n", property, detail.toUtf8().constData());
    std::abort();
}

// The statement must read as exactly the expected tokens.
inline void requireTokens(const QString& sql, Dialect dialect, const std::vector<Token>& expected) {
    const std::vector<Token> got = tokenize(sql, dialect);
    require(got == expected, "statement keeps its quoting",
            QStringLiteral("statement: ") + sql + QStringLiteral("\nexpected: ") +
                describe(expected) + QStringLiteral("\ngot:      ") + describe(got));
}

}  // namespace dorvane::fuzz
