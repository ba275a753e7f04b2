#pragma once
// The rows of a result, kept as one serialized byte stream: per value a kind tag, a
// length where the kind needs one, and the bytes (text at one byte a character when
// every character fits). Past a memory bound the stream moves
// on to a temporary file, removed when the buffer goes. (On Linux Qt opens it unnamed,
// O_TMPFILE, unless its name is asked for, so it leaves nothing behind even after a crash.)

#include <QString>
#include <QTemporaryFile>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "db/values/value.h"

namespace dorvane::db {

constexpr std::size_t kDefaultRowMemoryBound = std::size_t{64} << 20;

class RowBuffer {
  public:
    explicit RowBuffer(std::size_t memoryBound = kDefaultRowMemoryBound);
    ~RowBuffer();
    RowBuffer(RowBuffer&&) noexcept;
    RowBuffer& operator=(RowBuffer&&) noexcept;
    RowBuffer(const RowBuffer&) = delete;
    RowBuffer& operator=(const RowBuffer&) = delete;

    // Writing, value by value; endRow after the last value of each row.
    void appendNull();
    void appendInteger(std::int64_t v);
    void appendSingle(float v);
    void appendDouble(double v);
    void appendBoolean(bool v);
    // Kind is Date, Time or Timestamp.
    void appendDateTime(Value::Kind kind, const DateTimeParts& parts);
    // Kind is Text, Decimal or Guid.
    void appendText(Value::Kind kind, const char16_t* text, std::size_t length);
    void appendBinary(const char* bytes, std::size_t length);
    void append(const Value& value);
    void endRow();

    std::int64_t rowCount() const { return rowCount_; }

    // Ends writing; reading starts at the first row.
    void startReading();
    // Decodes the next row's `row.size()` values into `row`, reusing their storage.
    void readRow(std::vector<Value>& row);

    // The temporary file, empty while everything is in memory.
    QString spillFileName() const;
    std::size_t memoryBytes() const { return memory_.capacity() + window_.capacity(); }
    // Bytes of rows written and not yet in the temporary file.
    std::size_t memoryUsed() const { return memory_.size(); }

  private:
    void putBytes(const void* data, std::size_t length);
    void putTag(Value::Kind kind);
    void putLength(std::uint64_t length);
    void spill();
    // Makes `length` bytes available from the read position; returns where they start.
    const char* take(std::size_t length);
    std::uint64_t takeLength();
    void decodeValue(Value& value);
    void decodeByteWideText(Value& value, Value::Kind kind);

    std::size_t memoryBound_;
    std::vector<char> memory_;  // the stream, or its part not yet in the file
    std::unique_ptr<QTemporaryFile> file_;
    std::int64_t rowCount_ = 0;

    bool reading_ = false;
    std::vector<char> window_;  // read from the file
    std::size_t readPos_ = 0;   // in memory_ or window_
    std::size_t windowEnd_ = 0;
    qint64 released_ = 0;  // the start of the file given back to the system
};

}  // namespace dorvane::db
