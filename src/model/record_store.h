// The record store: the whole in-memory model of the EXIF block on show, as
// lists of text rows (every number in it is decimal text).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/catalogue.h"

namespace tagloom {

// A list of text rows. Row indexes are 16-bit signed, so a list holds at most
// 32,767 rows; a text stored into a row ends before its first NUL.
class TextList {
 public:
  static constexpr int kMaxRows = 32767;

  int Count() const { return static_cast<int>(rows_.size()); }
  bool Full() const { return Count() >= kMaxRows; }
  // Row i, or the empty text for a row that does not exist.
  const std::string& Row(int i) const;
  // Replaces row i; a row that does not exist is left alone.
  void Set(int i, std::string_view text);
  // Appends a row; returns false (and appends nothing) when the list is full.
  bool Append(std::string_view text);
  void Clear() { rows_.clear(); }

 private:
  std::vector<std::string> rows_;
};

struct RecordStore {
  // The catalogue (fixed at construction).
  TextList lstTag, lstTitle;
  // The catalogued side: one row per catalogue row.
  TextList lstPosition, lstValue, lstType, lstValuePos, lstCount;
  // The uncatalogued side: one row per directory entry outside the catalogue.
  TextList lstUnuseTag, lstUnusePos, lstUnuseValuePos, lstUnuseValue, lstUnuseType,
      lstUnuseCount;

  // The catalogue filled, every other list empty.
  RecordStore();

  // Empties the eleven other lists and primes the catalogued side: "0" for
  // position, value position, count and type, "" for the value.
  void Reset();

  // First catalogue row whose tag equals the text exactly, or -1.
  int CheckTag(std::string_view tag) const;

  // Whether a catalogued tag was found (its position reads as more than 0).
  bool Found(int row) const;

  // Appends one uncatalogued entry to the five number lists and an empty value;
  // all or nothing, so the six lists stay parallel. False when full.
  bool AppendUncatalogued(std::string_view tag, std::string_view position,
                          std::string_view valuePosition, std::string_view count,
                          std::string_view type);
};

}  // namespace tagloom
