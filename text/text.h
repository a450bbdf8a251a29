#pragma once

// The three value types every part of SmsDock passes around.
//
// Text is a GBK (code page 936) byte string. It never holds a zero byte: whatever builds a Text
// from raw bytes keeps only the bytes before the first zero, exactly as a zero-terminated string
// would. An empty Text and an absent Text are the same value. Lengths and positions count bytes.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace smsdock {

class Text {
public:
    Text() = default;
    Text(const char* s) : bytes_(s ? s : "") {}
    Text(std::string_view s) : bytes_(s.substr(0, s.find('\0'))) {}
    explicit Text(std::string&& s) : bytes_(std::move(s)) { CutAtZero(); }
    explicit Text(const std::string& s) : Text(std::string_view(s)) {}

    const std::string& str() const { return bytes_; }
    std::string_view view() const { return bytes_; }
    const char* c_str() const { return bytes_.c_str(); }
    // Length in bytes, as the text operations count it.
    int size() const { return static_cast<int>(bytes_.size()); }
    bool empty() const { return bytes_.empty(); }

    // The byte at 0-based index i as an unsigned value; 0 past the end (the terminator).
    unsigned char at(int i) const {
        return i >= 0 && i < size() ? static_cast<unsigned char>(bytes_[i]) : 0;
    }

    Text& operator+=(const Text& other) {
        bytes_ += other.bytes_;
        return *this;
    }
    friend Text operator+(Text a, const Text& b) { return a += b; }

    // Bytes compare as unsigned values, case-sensitively (std::string compares with memcmp).
    friend bool operator==(const Text&, const Text&) = default;
    friend std::strong_ordering operator<=>(const Text& a, const Text& b) {
        return a.bytes_.compare(b.bytes_) <=> 0;
    }

private:
    void CutAtZero() {
        if (auto zero = bytes_.find('\0'); zero != std::string::npos) bytes_.resize(zero);
    }

    std::string bytes_;
};

// A counted byte buffer; may hold zero bytes. Empty and absent are the same value.
using Bytes = std::vector<std::uint8_t>;

// An ordered list of texts. The routines of the system number its elements from 1; in C++ the
// element numbered k is at index k - 1.
using TextArray = std::vector<Text>;

// Literal helpers for tests and fixed texts: Bytes from the characters of a string view.
inline Bytes ToBytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

}  // namespace smsdock
