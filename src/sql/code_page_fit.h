#pragma once
// Whether text fits the code page of a VARCHAR, CHAR or TEXT column on SQL Server. The
// server stores a character its code page lacks as '?' or as a look-alike ("best fit",
// 'ā' becomes 'a') without a word, so the copy checks each value before sending it.

#include <QString>
#include <QStringView>
#include <memory>
#include <optional>

namespace dorvane::sql {

class CodePageFit {
  public:
    // `codePage` is the column collation's code page: 65001 holds everything; one this
    // program does not know accepts ASCII only. Throws when the system lacks the converter.
    explicit CodePageFit(int codePage);
    ~CodePageFit();
    CodePageFit(CodePageFit&&) noexcept;
    CodePageFit& operator=(CodePageFit&&) noexcept;

    int codePage() const { return codePage_; }
    // True for a code page of one or two bytes a character that this program knows.
    bool known() const { return converters_ != nullptr; }

    // The first character of `text` the code page cannot hold exactly (a surrogate pair is
    // one character), or nullopt when every character fits.
    std::optional<QString> firstCharacterOutside(QStringView text);
    // Throws std::runtime_error naming the code page and the first character outside it.
    void check(QStringView text);

  private:
    class Converters;
    int codePage_;
    std::unique_ptr<Converters> converters_;  // null for 65001 and unknown code pages
};

}  // namespace dorvane::sql
