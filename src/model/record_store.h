// The record store: the whole in-memory model of the EXIF block on show, as
// lists of text rows (every number in it is decimal text).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/catalogue.h"

namespace tagloom {

// A list of text rows. Row indexes are 16-bit signed, so a list holds at most
// 32,767 rows; a text stored into a row ends before its first NUL.
//
// A row stored as a number, a fraction, a tag or bytes to show in hexadecimal
// keeps what it was given and writes its text only when the text is asked
// for: reading a block stores hundreds of rows that are mostly read back as
// numbers, or not at all.
class TextList {
 public:
  static constexpr int kMaxRows = 32767;

  int Count() const { return static_cast<int>(rows_.size()); }
  bool Full() const { return Count() >= kMaxRows; }
  // Row i, or the empty text for a row that does not exist.
  const std::string& Row(int i) const;
  // The leading number of row i (see LeadingNumber); 0 for a row that does not exist.
  double Number(int i) const;
  // Replaces row i; a row that does not exist is left alone.
  void Set(int i, std::string_view text);
  void Set(int i, std::string&& text);  // takes the text over, without a copy
  void Set(int i, const char* text) { Set(i, std::string_view(text)); }
  void SetNumber(int i, std::int64_t number);  // the row's text is the number in decimal
  void SetFraction(int i, std::int64_t numerator, std::int64_t denominator);  // "n/d"
  // The row's text is kHexPrefix and the bytes in hexadecimal digits.
  void SetHexBytes(int i, std::string bytes);
  // Appends a row; returns false (and appends nothing) when the list is full.
  bool Append(std::string_view text);
  bool AppendNumber(std::int64_t number);
  bool AppendTag(std::uint16_t tag);  // the tag's four hexadecimal digits (TagText)
  void Clear() { rows_.clear(); }

 private:
  enum class Kind : std::uint8_t { kText, kNumber, kFraction, kHex, kTag };
  struct Cell {
    // The row's text; but for kText written on first use, and till then for kHex the bytes.
    mutable std::string text;
    std::int64_t number = 0, denominator = 0;
    Kind kind = Kind::kText;
    mutable bool written = true;  // whether `text` holds the row's text
  };
  Cell* At(int i);
  std::vector<Cell> rows_;
};

struct RecordStore {
  // The catalogue (fixed at construction).
  TextList lstTag, lstTitle;
  // The catalogued side: one row per catalogue row.
  TextList lstPosition, lstValue, lstType, lstValuePos, lstCount;
  // The uncatalogued side: one row per directory entry outside the catalogue.
  TextList lstUnuseTag, lstUnusePos, lstUnuseValuePos, lstUnuseValue, lstUnuseType, lstUnuseCount;

  // The catalogue filled, every other list empty.
  RecordStore();

  // Empties the eleven other lists and primes the catalogued side: "0" for
  // position, value position, count and type, "" for the value.
  void Reset();

  // Whether a catalogued tag was found (its position reads as more than 0).
  bool Found(int row) const;

  // Appends one uncatalogued entry to the five number lists and an empty value;
  // all or nothing, so the six lists stay parallel. False when full.
  bool AppendUncatalogued(std::uint16_t tag, std::int64_t position, std::int64_t valuePosition,
                          std::int64_t count, std::int64_t type);
};

}  // namespace tagloom
