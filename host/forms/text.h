// Number and text services of the forms layer: the small set of conversions
// the host's forms and modules rely on, with the rules of the run time they
// were first written for.
//
// Texts are byte strings in the ANSI code page; positions and lengths count
// bytes. Conversions that can fail return std::optional, so that a caller that
// skips a failing step simply leaves its target as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace forms {

// Decimal text of a whole number with one leading blank when it is not
// negative: 2 gives " 2", -1 gives "-1", 0 gives " 0".
std::string NumberToText(std::int64_t n);

// The number pattern "##": decimal digits without leading zeros, so 0 gives
// the empty text; 7 gives "7", 123 gives "123", -5 gives "-5".
std::string FormatHashHash(std::int64_t n);

// Reads the number at the start of a text, the way a typed-in handle is read:
// blanks, tabs and line feeds are ignored wherever they stand, then an
// optional sign, digits with an optional fraction and an optional exponent
// (E or D). Reading stops at the first character that cannot continue the
// number; a text with no number gives 0. Fails only when the number is too
// large for a double.
std::optional<double> ReadLeadingNumber(std::string_view text);

// A text that must be a number as a whole: blanks (spaces, tabs) around it,
// an optional sign, digits with an optional fraction and an optional exponent
// (E or D). Anything else, including the empty text and a number too large
// for a double, fails.
std::optional<double> ParseNumberText(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 gives
// 2, 3.5 gives 4, -2.5 gives -2), and fails when the result lies outside the
// target type or the value is not finite.
std::optional<std::int16_t> RoundToInt16(double value);
std::optional<std::int32_t> RoundToInt32(double value);

// The greatest whole number not above the value: 2.9 gives 2, -0.5 gives -1.
double FloorWhole(double value);

// Upper case of the ASCII letters; every other byte is left alone. The code
// page is not known here, so the second byte of a double-byte character that
// equals a lower-case letter is changed too: use it on texts that are compared
// with ASCII words (switch letters, file extensions).
std::string UpperCase(std::string_view text);

// The first or last `count` characters (all of them when the text is shorter).
std::string LeftChars(std::string_view text, std::size_t count);
std::string RightChars(std::string_view text, std::size_t count);

// The characters from the 1-based position `start` on, at most `count` of
// them; empty when `start` lies beyond the end. A start of 0 counts as 1.
std::string MidChars(std::string_view text, std::size_t start,
                     std::size_t count = std::string_view::npos);

// 1-based position of the first occurrence of `what` in `text` at or after
// the 1-based position `start`, or 0 when there is none. An empty `what` is
// found at `start` when that lies inside a non-empty text. A start of 0
// counts as 1.
std::size_t FindText(std::string_view text, std::string_view what, std::size_t start = 1);

} // namespace forms
