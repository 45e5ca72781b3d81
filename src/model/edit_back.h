// Edit-back conversion: the sixteen field texts become the catalogued rows of
// the record store, ready for a new EXIF block to be built from them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/catalogue.h"
#include "model/record_store.h"

namespace tagloom {

// The date the conversion gives for a text it cannot read. It is never
// written: a date typed that cannot be read is refused.
inline constexpr std::string_view kDefaultDate = "1999:01:01 01:01:01";

// A date text in the EXIF form (ReadDate, ExifDateText), or kDefaultDate for
// a text that cannot be read.
std::string ConvDate(std::string_view text);

// The TIFF type (tiff::Type) that catalogue row `row` is written with.
int StandardType(int row);

// Entry counts of the two directories to be written.
struct DirectoryCounts {
  std::int64_t Ifd0EntryCount = 0;
  std::int64_t ExifIfdEntryCount = 0;
};

// A field that cannot be written, and why.
struct RefusedField {
  enum class Why {
    kOutOfRange,      // a number too large, negative for an unsigned field, or not finite
    kUnreadableDate,  // a date typed that is no date
    kBadHex,          // a maker note typed as "Hex:" whose digits are not whole bytes
  };
  int field;  // index of txtExif
  Why why;
};

// Rebuilds the catalogued rows of `store` (holding the block as read) from
// the field texts: which tags are written, with which type, count and value
// text. The orientation read with the block (row 1, 1 to 8) is kept;
// otherwise 1 is written. Returns the first field that cannot be written, in
// which case nothing may be written.
//
// `unedited` marks the fields that still hold what reading the block put
// there: they keep the exact values read (no rounding through their shown
// texts), each date its own bytes; only the comment is always written anew,
// with its marker.
std::optional<RefusedField> RestoreValue(const std::array<std::string, kFieldCount>& fields,
                                         RecordStore& store, DirectoryCounts& counts,
                                         const std::array<bool, kFieldCount>& unedited = {});

}  // namespace tagloom
