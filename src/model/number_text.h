// Numbers held as text: the one parse and the one formatter that every part of
// Tagloom uses to move between value texts, field texts and numbers.
#pragma once

#include <cstdint>
#include <locale>
#include <optional>
#include <string>
#include <string_view>

namespace tagloom {

// The number at the start of a text. Blanks and tabs are skipped, before and
// between the characters of the number; then an optional sign, digits with at
// most one decimal point, and an optional exponent (E or D, optional sign,
// digits). A text starting "&H" or "&O" is a hexadecimal or octal integer.
// The first other character ends the number; a text without one gives 0.
double LeadingNumber(std::string_view text);

// The number when the whole text is one number as LeadingNumber reads it
// (blanks around and inside it allowed): "8", " 2.8 ", "1E3", "&H10"; nullopt
// for a text with anything after the number ("8mm", "2E"), or without one.
std::optional<double> WholeNumber(std::string_view text);

// Whether the text names a number that is not finite ("NaN", "-inf",
// "Infinity", any case, after leading blanks): LeadingNumber reads such a
// text as 0, but a person who typed it did not mean 0.
bool NamesNonFiniteNumber(std::string_view text);

// Whole number nearest to x, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double x);

// RoundHalfEven(LeadingNumber(text)) when it fits a signed 32-bit integer.
std::optional<std::int32_t> LeadingInt32(std::string_view text);

// Shortest decimal text that shows x to 7 (single) or 15 (double) significant
// digits: no trailing zeros, no point for whole numbers, "0" before the point
// below 1, and an exponent form such as 1E+08 for very large or small numbers.
std::string SingleText(float x);
std::string DoubleText(double x);

// Plain decimal text of an integer.
std::string IntegerText(std::int64_t n);

// An integer in the digit grouping of the given locale (1,234 in en_US).
std::string GroupedText(std::int64_t n, const std::locale& locale);

// The user's locale from the environment, or the classic one when the
// environment names a locale this machine does not have.
std::locale UserLocale();

}  // namespace tagloom
