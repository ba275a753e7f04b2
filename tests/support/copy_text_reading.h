#pragma once
// Reads rows of PostgreSQL's COPY text format back the way the server does (tab between
// fields, newline after a row, \N for null, backslash escapes), for tests and fuzzing
// of the rows the copy writes.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <optional>
#include <vector>

namespace dorvane::testing {

using CopyField = std::optional<QString>;  // nullopt: null
using CopyRow = std::vector<CopyField>;

// The rows of `data`, or nullopt when the server would read them differently from what
// a writer means: a row without its newline, a bare carriage return, a backslash at the
// end of a field, the end-of-data marker, or bytes that are not UTF-8.
inline std::optional<std::vector<CopyRow>> readCopyRows(const QByteArray& data) {
    std::vector<CopyRow> rows;
    if (data.isEmpty()) return rows;
    if (!data.endsWith('\n')) return std::nullopt;
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    const auto hexValue = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    qsizetype at = 0;
    while (at < data.size()) {
        const qsizetype end = data.indexOf('\n', at);
        const QByteArray line = data.mid(at, end - at);
        at = end + 1;
        if (line == "\\.") return std::nullopt;
        CopyRow row;
        for (const QByteArray& raw : line.split('\t')) {
            if (raw == "\\N") {
                row.emplace_back(std::nullopt);
                continue;
            }
            QByteArray bytes;
            for (qsizetype i = 0; i < raw.size(); ++i) {
                const char c = raw[i];
                if (c == '\r') return std::nullopt;
                if (c != '\\') {
                    bytes += c;
                    continue;
                }
                if (++i == raw.size()) return std::nullopt;
                const char e = raw[i];
                if (isOctal(e)) {
                    int value = e - '0';
                    for (int n = 1; n < 3 && i + 1 < raw.size() && isOctal(raw[i + 1]); ++n)
                        value = value * 8 + (raw[++i] - '0');
                    bytes += static_cast<char>(value & 0xff);
                } else if (e == 'x' && i + 1 < raw.size() && hexValue(raw[i + 1]) >= 0) {
                    int value = hexValue(raw[++i]);
                    if (i + 1 < raw.size() && hexValue(raw[i + 1]) >= 0)
                        value = value * 16 + hexValue(raw[++i]);
                    bytes += static_cast<char>(value);
                } else {
                    switch (e) {
                        case 'b':
                            bytes += '\b';
                            break;
                        case 'f':
                            bytes += '\f';
                            break;
                        case 'n':
                            bytes += '\n';
                            break;
                        case 'r':
                            bytes += '\r';
                            break;
                        case 't':
                            bytes += '\t';
                            break;
                        case 'v':
                            bytes += '\v';
                            break;
                        default:
                            bytes += e;  // any other character stands for itself
                    }
                }
            }
            // A byte order mark is a character like any other to the server.
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom |
                                                          QStringDecoder::Flag::Stateless);
            const QString text = utf8(bytes);
            if (utf8.hasError()) return std::nullopt;
            row.emplace_back(text);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace dorvane::testing
