#include "db/odbc/row_buffer.h"

#ifdef __linux__
#include <fcntl.h>
#endif

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "db/values/db_error.h"

namespace dorvane::db {
namespace {

constexpr std::size_t kReadWindow = std::size_t{1} << 20;

// How much of the temporary file is read before it goes back to the system.
constexpr qint64 kReleaseStep = qint64{8} << 20;

// Frees the pages of a part of the file already read, so that closing after the last row
// has little left to free (a gigabyte file took tens of milliseconds in one go).
void releaseFileRange(QFileDevice& file, qint64 from, qint64 length) {
#ifdef __linux__
    // Best effort: where holes cannot be punched, the pages go when the file does.
    (void)::fallocate(file.handle(), FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, from, length);
#else
    (void)file;
    (void)from;
    (void)length;
#endif
}

// Marks a text kept at one byte a character (every character below U+0100).
constexpr unsigned char kByteWideText = 0x80;

// Writes `length` UTF-16 units to `out` a byte each; false as soon as one is U+0100 or above
// (`out` then holds part of the text).
bool narrowToBytes(const char16_t* in, std::size_t length, char* out) {
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen units a step: a scalar loop was a tenth of reading a long text.
    const __m128i highBytes = _mm_set1_epi16(static_cast<short>(0xff00));
    for (; i + 16 <= length; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
        const __m128i high = _mm_and_si128(_mm_or_si128(a, b), highBytes);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xffff) return false;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(a, b));
    }
#endif
    char16_t any = 0;
    for (; i < length; ++i) {
        any |= in[i];
        out[i] = static_cast<char>(in[i]);
    }
    return any < 0x100;
}

// Year, month, day, hour, minute, second, nanosecond: 2 + 5 + 4 bytes.
constexpr std::size_t kDateTimeBytes = 11;
// Marks a date or time kept with a year of four bytes and an infinity byte after it,
// for the values only PostgreSQL holds; the others keep the short form.
constexpr unsigned char kWideDateTime = 0x40;
constexpr std::size_t kWideDateTimeBytes = kDateTimeBytes + 3;

bool needsWideDateTime(const DateTimeParts& p) {
    return p.infinity != 0 || p.year < INT16_MIN || p.year > INT16_MAX;
}

// The parts after the year, from `out`: month, day, hour, minute, second, nanosecond.
void encodeDayAndTime(const DateTimeParts& p, char* out) {
    const auto nanosecond = static_cast<std::int32_t>(p.nanosecond);
    out[0] = static_cast<char>(p.month);
    out[1] = static_cast<char>(p.day);
    out[2] = static_cast<char>(p.hour);
    out[3] = static_cast<char>(p.minute);
    out[4] = static_cast<char>(p.second);
    std::memcpy(out + 5, &nanosecond, 4);
}

void decodeDayAndTime(const char* in, DateTimeParts& p) {
    std::int32_t nanosecond;
    std::memcpy(&nanosecond, in + 5, 4);
    p.month = static_cast<unsigned char>(in[0]);
    p.day = static_cast<unsigned char>(in[1]);
    p.hour = static_cast<unsigned char>(in[2]);
    p.minute = static_cast<unsigned char>(in[3]);
    p.second = static_cast<unsigned char>(in[4]);
    p.nanosecond = nanosecond;
}

void encodeDateTime(const DateTimeParts& p, char* out) {
    const auto year = static_cast<std::int16_t>(p.year);
    std::memcpy(out, &year, 2);
    encodeDayAndTime(p, out + 2);
}

void encodeWideDateTime(const DateTimeParts& p, char* out) {
    const auto year = static_cast<std::int32_t>(p.year);
    std::memcpy(out, &year, 4);
    out[4] = static_cast<char>(p.infinity);
    encodeDayAndTime(p, out + 5);
}

DateTimeParts decodeDateTime(const char* in) {
    std::int16_t year;
    std::memcpy(&year, in, 2);
    DateTimeParts p;
    p.year = year;
    decodeDayAndTime(in + 2, p);
    return p;
}

DateTimeParts decodeWideDateTime(const char* in) {
    std::int32_t year;
    std::memcpy(&year, in, 4);
    DateTimeParts p;
    p.year = year;
    p.infinity = static_cast<signed char>(in[4]);
    decodeDayAndTime(in + 5, p);
    return p;
}

template <class T>
T load(const char* in) {
    T v;
    std::memcpy(&v, in, sizeof v);
    return v;
}

}  // namespace

RowBuffer::RowBuffer(std::size_t memoryBound) : memoryBound_(memoryBound) {}
RowBuffer::~RowBuffer() = default;
RowBuffer::RowBuffer(RowBuffer&&) noexcept = default;
RowBuffer& RowBuffer::operator=(RowBuffer&&) noexcept = default;

void RowBuffer::putBytes(const void* data, std::size_t length) {
    const char* bytes = static_cast<const char*>(data);
    memory_.insert(memory_.end(), bytes, bytes + length);
}

void RowBuffer::putTag(Value::Kind kind) {
    memory_.push_back(static_cast<char>(kind));
}

void RowBuffer::putLength(std::uint64_t length) {
    // Seven bits a byte, low first: short texts cost one byte of length.
    do {
        char byte = static_cast<char>(length & 0x7f);
        length >>= 7;
        if (length != 0) byte = static_cast<char>(byte | 0x80);
        memory_.push_back(byte);
    } while (length != 0);
}

void RowBuffer::appendNull() {
    putTag(Value::Kind::Null);
}

void RowBuffer::appendInteger(std::int64_t v) {
    putTag(Value::Kind::Integer);
    putBytes(&v, sizeof v);
}

void RowBuffer::appendSingle(float v) {
    putTag(Value::Kind::Single);
    putBytes(&v, sizeof v);
}

void RowBuffer::appendDouble(double v) {
    putTag(Value::Kind::Double);
    putBytes(&v, sizeof v);
}

void RowBuffer::appendBoolean(bool v) {
    putTag(Value::Kind::Boolean);
    memory_.push_back(v ? 1 : 0);
}

void RowBuffer::appendDateTime(Value::Kind kind, const DateTimeParts& parts) {
    if (needsWideDateTime(parts)) {
        memory_.push_back(static_cast<char>(static_cast<unsigned char>(kind) | kWideDateTime));
        char bytes[kWideDateTimeBytes];
        encodeWideDateTime(parts, bytes);
        putBytes(bytes, sizeof bytes);
        return;
    }
    putTag(kind);
    char bytes[kDateTimeBytes];
    encodeDateTime(parts, bytes);
    putBytes(bytes, sizeof bytes);
}

void RowBuffer::appendText(Value::Kind kind, const char16_t* text, std::size_t length) {
    // Most text is ASCII: a byte a character halves the memory and the temporary file.
    if (length != 0) {
        const std::size_t start = memory_.size();
        memory_.push_back(static_cast<char>(static_cast<unsigned char>(kind) | kByteWideText));
        putLength(length);
        const std::size_t at = memory_.size();
        memory_.resize(at + length);
        if (narrowToBytes(text, length, memory_.data() + at)) return;
        memory_.resize(start);
    }
    putTag(kind);
    putLength(length);
    putBytes(text, length * sizeof(char16_t));
}

void RowBuffer::appendBinary(const char* bytes, std::size_t length) {
    putTag(Value::Kind::Binary);
    putLength(length);
    putBytes(bytes, length);
}

void RowBuffer::append(const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Null:
            return appendNull();
        case Value::Kind::Text:
        case Value::Kind::Decimal:
        case Value::Kind::Guid:
            return appendText(v.kind(), reinterpret_cast<const char16_t*>(v.asString().utf16()),
                              static_cast<std::size_t>(v.asString().size()));
        case Value::Kind::Integer:
            return appendInteger(v.asInteger());
        case Value::Kind::Single:
            return appendSingle(static_cast<float>(v.asDouble()));
        case Value::Kind::Double:
            return appendDouble(v.asDouble());
        case Value::Kind::Date:
        case Value::Kind::Time:
        case Value::Kind::Timestamp:
            return appendDateTime(v.kind(), v.asDateTime());
        case Value::Kind::Boolean:
            return appendBoolean(v.asBoolean());
        case Value::Kind::Binary:
            return appendBinary(v.asBinary().constData(), v.asBinary().size());
    }
}

void RowBuffer::endRow() {
    ++rowCount_;
    if (memory_.size() >= memoryBound_) spill();
}

namespace {

// "<what> in <directory>: <reason>". The file has no name of its own on Linux (asking
// for one would create it), so its directory says where. Qt keeps no reason when a
// write stored part of its bytes before the system refused the rest, as a filling disk
// does, and says "Unknown error": errno, read straight after the call, still has it.
QString temporaryFileFailure(const QString& what, const QTemporaryFile& file, int error) {
    return QStringLiteral("%1 in %2: %3")
        .arg(what, QDir::toNativeSeparators(QFileInfo(file.fileTemplate()).absolutePath()),
             error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString());
}

}  // namespace

void RowBuffer::spill() {
    if (!file_) {
        auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                     QStringLiteral("/dorvane-rows-XXXXXX"));
        errno = 0;
        if (!file->open())
            throw DbError(temporaryFileFailure(
                QStringLiteral("Cannot create a temporary file for rows"), *file, errno));
        file_ = std::move(file);
    }
    // What a write leaves over is written again, so that a refusal comes with its reason.
    const char* at = memory_.data();
    auto left = static_cast<qint64>(memory_.size());
    while (left > 0) {
        errno = 0;
        const qint64 written = file_->write(at, left);
        if (written <= 0)
            throw DbError(temporaryFileFailure(
                QStringLiteral("Cannot write rows to a temporary file"), *file_, errno));
        at += written;
        left -= written;
    }
    memory_.clear();
}

void RowBuffer::startReading() {
    reading_ = true;
    readPos_ = 0;
    if (!file_) return;
    spill();
    std::vector<char>().swap(memory_);  // the file holds everything now
    // Qt holds small writes back: the system may refuse them only now.
    errno = 0;
    if (!file_->flush())
        throw DbError(temporaryFileFailure(QStringLiteral("Cannot write rows to a temporary file"),
                                           *file_, errno));
    errno = 0;
    if (!file_->seek(0))
        throw DbError(temporaryFileFailure(
            QStringLiteral("Cannot read rows back from a temporary file"), *file_, errno));
    windowEnd_ = 0;
}

const char* RowBuffer::take(std::size_t length) {
    if (!file_) {
        if (memory_.size() - readPos_ < length)
            throw DbError(QStringLiteral("Read past the end of the rows."));
        const char* at = memory_.data() + readPos_;
        readPos_ += length;
        return at;
    }
    if (windowEnd_ - readPos_ < length) {
        const std::size_t kept = windowEnd_ - readPos_;
        if (window_.size() < std::max(length, kReadWindow))
            window_.resize(std::max(length, kReadWindow));
        std::memmove(window_.data(), window_.data() + readPos_, kept);
        readPos_ = 0;
        windowEnd_ = kept;
        while (windowEnd_ < length) {
            const qint64 got = file_->read(window_.data() + windowEnd_,
                                           static_cast<qint64>(window_.size() - windowEnd_));
            if (got <= 0)
                throw DbError(QStringLiteral("Cannot read rows back from a temporary file: ") +
                              file_->errorString());
            windowEnd_ += static_cast<std::size_t>(got);
        }
        // Rows are read once, front to back: what lies before the position is in memory.
        const qint64 readTo = file_->pos();
        if (readTo - released_ >= kReleaseStep) {
            releaseFileRange(*file_, released_, readTo - released_);
            released_ = readTo;
        }
    }
    const char* at = window_.data() + readPos_;
    readPos_ += length;
    return at;
}

std::uint64_t RowBuffer::takeLength() {
    std::uint64_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*take(1));
        length |= std::uint64_t{byte & 0x7fu} << shift;
        if ((byte & 0x80) == 0) return length;
    }
}

void RowBuffer::readRow(std::vector<Value>& row) {
    if (!reading_) throw DbError(QStringLiteral("Rows are read before writing has ended."));
    for (Value& value : row) decodeValue(value);
}

void RowBuffer::decodeValue(Value& value) {
    const auto tag = static_cast<unsigned char>(*take(1));
    if (tag & kByteWideText) {
        const auto kind = static_cast<Value::Kind>(tag & ~kByteWideText);
        decodeByteWideText(value, kind);
        value.kind_ = kind;
        return;
    }
    if (tag & kWideDateTime) {
        const auto kind = static_cast<Value::Kind>(tag & ~kWideDateTime);
        if (kind != Value::Kind::Date && kind != Value::Kind::Time &&
            kind != Value::Kind::Timestamp)
            throw DbError(QStringLiteral("The row buffer holds an unknown value kind."));
        value.data_ = decodeWideDateTime(take(kWideDateTimeBytes));
        value.kind_ = kind;
        return;
    }
    const auto kind = static_cast<Value::Kind>(tag);
    switch (kind) {
        case Value::Kind::Null:
            value.data_ = std::monostate();
            break;
        case Value::Kind::Text:
        case Value::Kind::Decimal:
        case Value::Kind::Guid: {
            const auto length = static_cast<qsizetype>(takeLength());
            const char* bytes = take(static_cast<std::size_t>(length) * sizeof(char16_t));
            if (auto* s = std::get_if<QString>(&value.data_)) {
                s->resize(length);  // keeps the capacity this value had for the last row
                std::memcpy(s->data(), bytes, length * sizeof(char16_t));
            } else {
                value.data_ = QString(reinterpret_cast<const QChar*>(bytes), length);
            }
            break;
        }
        case Value::Kind::Integer:
            value.data_ = load<std::int64_t>(take(8));
            break;
        case Value::Kind::Single:
            value.data_ = static_cast<double>(load<float>(take(4)));
            break;
        case Value::Kind::Double:
            value.data_ = load<double>(take(8));
            break;
        case Value::Kind::Boolean:
            value.data_ = *take(1) != 0;
            break;
        case Value::Kind::Date:
        case Value::Kind::Time:
        case Value::Kind::Timestamp:
            value.data_ = decodeDateTime(take(kDateTimeBytes));
            break;
        case Value::Kind::Binary: {
            const auto length = static_cast<qsizetype>(takeLength());
            const char* bytes = take(static_cast<std::size_t>(length));
            if (auto* b = std::get_if<QByteArray>(&value.data_)) {
                b->resize(length);
                std::memcpy(b->data(), bytes, length);
            } else {
                value.data_ = QByteArray(bytes, length);
            }
            break;
        }
        default:
            throw DbError(QStringLiteral("The row buffer holds an unknown value kind."));
    }
    value.kind_ = kind;
}

void RowBuffer::decodeByteWideText(Value& value, Value::Kind kind) {
    if (kind != Value::Kind::Text && kind != Value::Kind::Decimal && kind != Value::Kind::Guid)
        throw DbError(QStringLiteral("The row buffer holds an unknown value kind."));
    const auto length = static_cast<qsizetype>(takeLength());
    const QLatin1StringView text(take(static_cast<std::size_t>(length)), length);
    if (auto* s = std::get_if<QString>(&value.data_)) {
        s->resize(0);  // keeps the capacity this value had for the last row
        s->append(text);
    } else {
        value.data_.emplace<QString>(text);
    }
}

QString RowBuffer::spillFileName() const {
    return file_ ? file_->fileName() : QString();
}

}  // namespace dorvane::db
