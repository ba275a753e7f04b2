#include "sql/code_page_fit.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "sql/value_text.h"

namespace dorvane::sql {
namespace {

constexpr int kUtf8CodePage = 65001;

struct KnownCodePage {
    int number;
    const char* iconvName;
    bool doubleByte;
};

// The code pages of SQL Server's collations. glibc's tables are Microsoft's own.
constexpr KnownCodePage kKnownCodePages[] = {
    {437, "CP437", false},   {850, "CP850", false},   {874, "CP874", false},
    {932, "CP932", true},    {936, "CP936", true},    {949, "CP949", true},
    {950, "CP950", true},    {1250, "CP1250", false}, {1251, "CP1251", false},
    {1252, "CP1252", false}, {1253, "CP1253", false}, {1254, "CP1254", false},
    {1255, "CP1255", false}, {1256, "CP1256", false}, {1257, "CP1257", false},
    {1258, "CP1258", false},
};

const KnownCodePage* findCodePage(int number) {
    for (const KnownCodePage& page : kKnownCodePages)
        if (page.number == number) return &page;
    return nullptr;
}

// QString's own layout, so its units go to iconv as they are.
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One open iconv conversion, closed when it goes.
class IconvConversion {
  public:
    IconvConversion(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(QStringLiteral("Cannot convert text from %1 to %2: %3")
                                         .arg(QLatin1StringView(from), QLatin1StringView(to),
                                              QString::fromLocal8Bit(std::strerror(errno)))
                                         .toStdString());
    }
    ~IconvConversion() { iconv_close(cd_); }
    IconvConversion(const IconvConversion&) = delete;
    IconvConversion& operator=(const IconvConversion&) = delete;

    // Converts all `inBytes` into at most `outBytes`; the bytes written, or nullopt when a
    // character has no exact mapping (no //TRANSLIT: nothing is approximated) or the
    // result would not fit.
    std::optional<std::size_t> convert(const void* in, std::size_t inBytes, void* out,
                                       std::size_t outBytes) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // a failure may leave a state
        char* inAt = const_cast<char*>(static_cast<const char*>(in));
        char* outAt = static_cast<char*>(out);
        std::size_t outLeft = outBytes;
        // The count of irreversible conversions counts as a failure too.
        if (iconv(cd_, &inAt, &inBytes, &outAt, &outLeft) != 0) return std::nullopt;
        // Decoders that compose characters hold the last one until told the input ended.
        if (iconv(cd_, nullptr, nullptr, &outAt, &outLeft) != 0) return std::nullopt;
        return outBytes - outLeft;
    }

  private:
    iconv_t cd_;
};

QString characterCode(QStringView character) {
    const char32_t code = character.size() == 2 && character[0].isHighSurrogate()
                              ? QChar::surrogateToUcs4(character[0], character[1])
                              : character[0].unicode();
    return QStringLiteral("U+") +
           QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, u'0');
}

// One character, a surrogate pair taken whole, starting at `at`.
qsizetype characterLength(QStringView text, qsizetype at) {
    return text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate() ? 2
                                                                                               : 1;
}

}  // namespace

// Text goes to the code page and back: a character fits when it comes back as it was,
// which also catches glibc's one-way mappings (CP932 writes '¥' as the byte of '\').
class CodePageFit::Converters {
  public:
    explicit Converters(const KnownCodePage& page)
        : toPage_(page.iconvName, kUtf16),
          fromPage_(kUtf16, page.iconvName),
          bytesPerUnit_(page.doubleByte ? 2 : 1) {}

    bool roundTrips(QStringView text) {
        const auto units = static_cast<std::size_t>(text.size());
        // A character that fits takes one byte, two in the double-byte code pages. CP1258
        // writes 'ạ' as a letter and an accent, which the server reads back as two
        // characters: the bound refuses it.
        const std::size_t maxBytes = units * bytesPerUnit_;
        if (bytes_.size() < maxBytes) bytes_.resize(maxBytes);
        if (back_.size() < units) back_.resize(units);
        const auto written = toPage_.convert(text.utf16(), units * 2, bytes_.data(), maxBytes);
        if (!written) return false;
        const auto read = fromPage_.convert(bytes_.data(), *written, back_.data(), units * 2);
        return read == units * 2 && std::memcmp(back_.data(), text.utf16(), units * 2) == 0;
    }

  private:
    IconvConversion toPage_;
    IconvConversion fromPage_;
    std::size_t bytesPerUnit_;
    // Kept from value to value: most values need no new memory.
    std::vector<char> bytes_;
    std::vector<char16_t> back_;
};

CodePageFit::CodePageFit(int codePage) : codePage_(codePage) {
    if (const KnownCodePage* page = findCodePage(codePage))
        converters_ = std::make_unique<Converters>(*page);
}

CodePageFit::~CodePageFit() = default;
CodePageFit::CodePageFit(CodePageFit&&) noexcept = default;
CodePageFit& CodePageFit::operator=(CodePageFit&&) noexcept = default;

std::optional<QString> CodePageFit::firstCharacterOutside(QStringView text) {
    // Every code page of a collation holds ASCII as it is, and most text is ASCII.
    if (codePage_ == kUtf8CodePage || isAscii(text)) return std::nullopt;
    if (converters_ && converters_->roundTrips(text)) return std::nullopt;
    for (qsizetype at = 0; at < text.size();) {
        const QStringView character = text.sliced(at, characterLength(text, at));
        at += character.size();
        if (character[0].unicode() < 0x80) continue;
        if (!converters_ || !converters_->roundTrips(character)) return character.toString();
    }
    // Each character fits alone; only glibc's reading composed them ('a' and a combining
    // dot below as 'ạ'), and the server reads them back as they were.
    return std::nullopt;
}

void CodePageFit::check(QStringView text) {
    const std::optional<QString> character = firstCharacterOutside(text);
    if (!character) return;
    const QString which = QStringLiteral("'%1' (%2)").arg(*character, characterCode(*character));
    const QString problem =
        converters_ ? QStringLiteral(
                          "The text holds %1, which code page %2 of the column cannot hold: "
                          "SQL Server would store another character in its place.")
                    : QStringLiteral(
                          "The text holds %1, and code page %2 of the column is not one "
                          "this program knows, so it accepts only ASCII characters there.");
    throw std::runtime_error(
        (problem.arg(which, QString::number(codePage_)) +
         QStringLiteral(" The Data Type Customization dialog can choose NVARCHAR for the column."))
            .toStdString());
}

}  // namespace dorvane::sql
