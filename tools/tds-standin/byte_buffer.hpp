#pragma once

#include "server_error.hpp"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

using Bytes = std::vector<uint8_t>;

// Appends little-endian (TDS default) and big-endian fields to a byte vector.
class ByteWriter {
public:
    void u8(uint8_t v) { bytes_.push_back(v); }
    void u16(uint16_t v) { le(v, 2); }
    void u32(uint32_t v) { le(v, 4); }
    void u64(uint64_t v) { le(v, 8); }
    void u16be(uint16_t v) {
        u8(static_cast<uint8_t>(v >> 8));
        u8(static_cast<uint8_t>(v));
    }
    void u32be(uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) u8(static_cast<uint8_t>(v >> shift));
    }
    void bytes(const Bytes& b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    void bytes(const uint8_t* p, size_t n) { bytes_.insert(bytes_.end(), p, p + n); }
    void le(uint64_t v, int width) {
        for (int i = 0; i < width; ++i) u8(static_cast<uint8_t>(v >> (8 * i)));
    }
    // Length-prefixed UTF-16LE strings; the length counts characters (code units).
    void bVarchar(const std::u16string& s) {
        u8(static_cast<uint8_t>(s.size()));
        utf16(s);
    }
    void usVarchar(const std::u16string& s) {
        u16(static_cast<uint16_t>(s.size()));
        utf16(s);
    }
    void utf16(const std::u16string& s) {
        for (char16_t c : s) u16(static_cast<uint16_t>(c));
    }
    void patchU16(size_t at, uint16_t v) {
        bytes_[at] = static_cast<uint8_t>(v);
        bytes_[at + 1] = static_cast<uint8_t>(v >> 8);
    }
    size_t size() const { return bytes_.size(); }
    const Bytes& data() const { return bytes_; }
    Bytes take() { return std::move(bytes_); }

private:
    Bytes bytes_;
};

// Reads little-endian fields with bounds checks; running past the end is a protocol error.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const Bytes& b) : ByteReader(b.data(), b.size()) {}

    uint8_t u8() { return static_cast<uint8_t>(le(1)); }
    uint16_t u16() { return static_cast<uint16_t>(le(2)); }
    uint32_t u32() { return static_cast<uint32_t>(le(4)); }
    uint64_t u64() { return le(8); }
    uint16_t u16be() {
        need(2);
        uint16_t v = static_cast<uint16_t>((data_[pos_] << 8) | data_[pos_ + 1]);
        pos_ += 2;
        return v;
    }
    Bytes bytes(size_t n) {
        need(n);
        Bytes b(data_ + pos_, data_ + pos_ + n);
        pos_ += n;
        return b;
    }
    std::u16string utf16(size_t chars) {
        std::u16string s;
        s.reserve(chars);
        for (size_t i = 0; i < chars; ++i) s.push_back(static_cast<char16_t>(u16()));
        return s;
    }
    void skip(size_t n) {
        need(n);
        pos_ += n;
    }
    void seek(size_t pos) {
        if (pos > size_) throw ProtocolError("offset past end of message");
        pos_ = pos;
    }
    size_t position() const { return pos_; }
    size_t remaining() const { return size_ - pos_; }
    bool atEnd() const { return pos_ == size_; }

private:
    void need(size_t n) const {
        if (n > size_ - pos_) throw ProtocolError("message shorter than its fields");
    }
    uint64_t le(int width) {
        need(static_cast<size_t>(width));
        uint64_t v = 0;
        for (int i = 0; i < width; ++i) v |= static_cast<uint64_t>(data_[pos_ + i]) << (8 * i);
        pos_ += static_cast<size_t>(width);
        return v;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace standin
