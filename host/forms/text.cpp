#include "text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace forms {

namespace {

// A decimal number as read from text: value = digits x 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits;       // significant digits, leading zeros removed
    long long exponent = 0;   // power of ten of the last digit
    bool hasMantissa = false; // at least one digit before the exponent
};

constexpr long long kExponentCap = 1000000000LL; // far beyond any double

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks a text, optionally stepping over blanks wherever they stand.
class Cursor {
  public:
    Cursor(std::string_view text, bool skipBlanks) : text_(text), skip_(skipBlanks) {}

    char Peek() {
        Skip();
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    bool AtEnd() {
        Skip();
        return pos_ >= text_.size();
    }
    void Next() { ++pos_; }
    std::size_t Pos() const { return pos_; }
    void Seek(std::size_t pos) { pos_ = pos; }

  private:
    void Skip() {
        while (skip_ && pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n')) {
            ++pos_;
        }
    }
    std::string_view text_;
    std::size_t pos_ = 0;
    bool skip_;
};

// Reads sign, mantissa and exponent from the cursor. An exponent letter that
// is not followed by digits is left unread, and `dangling` says so.
Decimal ScanDecimal(Cursor& in, bool& dangling) {
    Decimal d;
    dangling = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
        d.negative = in.Peek() == '-';
        in.Next();
    }
    long long fraction = 0;
    bool seenPoint = false;
    for (;;) {
        char c = in.Peek();
        if (IsDigit(c)) {
            d.hasMantissa = true;
            if (!(d.digits.empty() && c == '0')) {
                d.digits.push_back(c);
            }
            if (seenPoint) {
                ++fraction;
            }
            in.Next();
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            in.Next();
        } else {
            break;
        }
    }
    // Leading zeros add nothing to the digits' value, so dropping them keeps
    // `fraction` (every digit after the point) the right power to divide by.
    if (!d.hasMantissa) {
        return d;
    }
    char e = in.Peek();
    if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
        std::size_t mark = in.Pos();
        in.Next();
        bool negative = false;
        if (in.Peek() == '+' || in.Peek() == '-') {
            negative = in.Peek() == '-';
            in.Next();
        }
        if (!IsDigit(in.Peek())) {
            in.Seek(mark);
            dangling = true;
        } else {
            long long value = 0;
            while (IsDigit(in.Peek())) {
                if (value < kExponentCap) {
                    value = value * 10 + (in.Peek() - '0');
                }
                in.Next();
            }
            d.exponent = negative ? -value : value;
        }
    }
    d.exponent -= fraction;
    return d;
}

// The double nearest to the decimal, or nothing when it is too large.
std::optional<double> ToDouble(const Decimal& d) {
    if (d.digits.empty()) {
        return 0.0;
    }
    // Power of ten of the leading digit decides overflow and underflow.
    long long order = static_cast<long long>(d.digits.size()) - 1 + d.exponent;
    if (order > 400) {
        return std::nullopt;
    }
    double magnitude = 0.0;
    if (order >= -400) {
        std::string text = d.digits + "e" + std::to_string(d.exponent);
        auto result = std::from_chars(text.data(), text.data() + text.size(), magnitude);
        if (result.ec == std::errc::result_out_of_range) {
            if (order > 0) {
                return std::nullopt;
            }
            magnitude = 0.0;
        } else if (result.ec != std::errc()) {
            return std::nullopt;
        }
    }
    if (std::isinf(magnitude)) {
        return std::nullopt;
    }
    return d.negative ? -magnitude : magnitude;
}

// Nearest whole number, halves to even; nothing for NaN or infinity.
std::optional<double> RoundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    double floor = std::floor(value);
    double rest = value - floor; // exact: below 2^52 the subtraction loses nothing
    if (rest > 0.5 || (rest == 0.5 && std::fmod(floor, 2.0) != 0.0)) {
        floor += 1.0;
    }
    return floor;
}

template <typename Int> std::optional<Int> RoundTo(double value) {
    std::optional<double> whole = RoundHalfEven(value);
    if (!whole || *whole < static_cast<double>(std::numeric_limits<Int>::min()) ||
        *whole > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(*whole);
}

} // namespace

std::string NumberToText(std::int64_t n) {
    std::string digits = std::to_string(n);
    return n < 0 ? digits : " " + digits;
}

std::string FormatHashHash(std::int64_t n) {
    return n == 0 ? std::string() : std::to_string(n);
}

std::optional<double> ReadLeadingNumber(std::string_view text) {
    Cursor in(text, true);
    bool dangling = false;
    Decimal d = ScanDecimal(in, dangling);
    if (!d.hasMantissa) {
        return 0.0;
    }
    return ToDouble(d);
}

std::optional<double> ParseNumberText(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && blank(text[first])) {
        ++first;
    }
    while (last > first && blank(text[last - 1])) {
        --last;
    }
    std::string_view core = text.substr(first, last - first);
    Cursor in(core, false);
    bool dangling = false;
    Decimal d = ScanDecimal(in, dangling);
    if (!d.hasMantissa || dangling || !in.AtEnd()) {
        return std::nullopt;
    }
    return ToDouble(d);
}

std::optional<std::int16_t> RoundToInt16(double value) {
    return RoundTo<std::int16_t>(value);
}

std::optional<std::int32_t> RoundToInt32(double value) {
    return RoundTo<std::int32_t>(value);
}

double FloorWhole(double value) {
    return std::floor(value);
}

std::string UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

std::string LeftChars(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, count));
}

std::string RightChars(std::string_view text, std::size_t count) {
    return count >= text.size() ? std::string(text) : std::string(text.substr(text.size() - count));
}

std::string MidChars(std::string_view text, std::size_t start, std::size_t count) {
    std::size_t from = start == 0 ? 0 : start - 1;
    return from >= text.size() ? std::string() : std::string(text.substr(from, count));
}

std::size_t FindText(std::string_view text, std::string_view what, std::size_t start) {
    std::size_t from = start == 0 ? 0 : start - 1;
    if (text.empty() || from >= text.size()) {
        return 0;
    }
    std::size_t at = text.find(what, from);
    return at == std::string_view::npos ? 0 : at + 1;
}

} // namespace forms
