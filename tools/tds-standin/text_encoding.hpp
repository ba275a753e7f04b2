#pragma once

#include "byte_buffer.hpp"

#include <string>
#include <string_view>

namespace standin {

// Conversions between the encodings that meet in the stand-in: UTF-8 (PostgreSQL),
// UTF-16LE (TDS text and nvarchar data) and Windows code page 1252 (varchar data of
// the database collation, see database_collation.hpp).
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

// Each UTF-16 code unit that code page 1252 lacks becomes '?', as SQL Server converts.
std::string utf16ToCp1252(std::u16string_view utf16);
std::u16string cp1252ToUtf16(std::string_view cp1252);

// What a value looks like after a trip through a varchar column, as UTF-8.
std::string squashToCp1252(std::string_view utf8);

Bytes utf16leBytes(std::u16string_view utf16);
std::u16string utf16FromLeBytes(const Bytes& bytes);

// Case folding for identifier comparison under a case-insensitive collation.
std::string foldCase(std::string_view utf8);

}  // namespace standin
