#pragma once

#include <string>
#include <vector>

namespace standin {

struct SqlToken {
    enum class Kind { Word, QuotedName, String, NationalString, Number, Hex, Symbol, End };
    Kind kind = Kind::End;
    // Words and quoted names without quotes; string values; number digits; hex bytes.
    std::string text;
    size_t offset = 0;  // where the token starts in the batch
    size_t end = 0;
};

// Splits T-SQL text into tokens, dropping blanks and comments. Throws SqlError for
// unclosed quotes.
std::vector<SqlToken> tokenize(const std::string& sql);

}  // namespace standin
