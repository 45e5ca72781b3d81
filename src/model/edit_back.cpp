#include "model/edit_back.h"

#include <cmath>
#include <cstdio>

#include "model/exif_date.h"
#include "model/hex_text.h"
#include "model/number_text.h"
#include "model/tiff_type.h"
#include "model/value_text.h"

namespace tagloom {
namespace {

// The type each catalogue row is written with.
using namespace tiff;
constexpr std::array<int, kCatalogueRows> kStandardTypes = {
    kLong,      kShort,     kAscii, kAscii,    kAscii,     kAscii,    kAscii,
    kRational,  kRational,  kShort, kShort,    kSRational, kRational, kShort,
    kUndefined, kUndefined, kShort, kRational, kAscii,     kAscii};

// Whether a number, rounded to a whole one, fits a signed 32-bit field, or
// for an unsigned field also is not negative.
bool Fits(double value, bool isSigned) {
  double whole = RoundHalfEven(value);
  return whole >= (isSigned ? -2147483648.0 : 0.0) && whole <= 2147483647.0;
}

// Both numbers of a rational value text fit their 32-bit fields.
bool RationalFits(std::string_view value, bool isSigned) {
  std::size_t slash = value.find('/');
  if (slash == std::string_view::npos) return false;
  return Fits(LeadingNumber(value.substr(0, slash)), isSigned) &&
         Fits(LeadingNumber(value.substr(slash + 1)), isSigned);
}

bool IsWhole(double x) {
  return x == std::floor(x);
}

// The value text of a rational field, or nullopt when it does not fit.
std::optional<std::string> RationalValue(int row, std::string_view t, bool mayBeNegative) {
  if (NamesNonFiniteNumber(t)) return std::nullopt;
  std::string value;
  std::size_t slash = t.find('/');
  if (row == row::kExposureBias) {
    value = slash != std::string_view::npos
                ? std::string(t)
                : SingleText(static_cast<float>(LeadingNumber(t)) * 10.0f) + "/10";
  } else if (slash != std::string_view::npos) {
    double n = LeadingNumber(t.substr(0, slash));
    double d = LeadingNumber(t.substr(slash + 1));
    if (row != row::kExposureTime && IsWhole(n) && IsWhole(d)) {
      // A fraction shown for a value below 1 goes back as it stands.
      value = DoubleText(n) + "/" + DoubleText(d);
    } else {
      value = DoubleText(n * 10) + "/" + DoubleText(RoundHalfEven(d * 10));
    }
  } else {
    bool hundredths = row == row::kExposureTime || row == row::kSubjectDistance;
    float scale = hundredths ? 100.0f : 10.0f;
    value =
        SingleText(static_cast<float>(LeadingNumber(t)) * scale) + (hundredths ? "/100" : "/10");
  }
  // ExposureBiasValue is the one signed rational; the others cannot be negative.
  if (!RationalFits(value, row == row::kExposureBias || mayBeNegative)) return std::nullopt;
  return value;
}

// A comment still in the "Hex:" form it was read in is written as those bytes.
bool IsHexComment(std::string_view t) {
  if (t.substr(0, kHexPrefix.size()) != kHexPrefix) return false;
  std::string_view digits = t.substr(kHexPrefix.size());
  return digits.size() % 2 == 0 && IsHexDigits(digits);
}

// One catalogue row as it is to be written.
struct Made {
  bool written = false;
  std::string count = "0";
  std::string value;
  int type = 0;  // 0: the row's standard type
};

// The orientation read with the block, kept when it is one of the eight.
std::string KeptOrientation(const RecordStore& read) {
  const double orientation = LeadingNumber(read.lstValue.Row(row::kOrientation));
  if (read.Found(row::kOrientation) && IsWhole(orientation) && orientation >= 1 &&
      orientation <= 8) {
    return IntegerText(static_cast<std::int64_t>(orientation));
  }
  return "1";
}

Made Ascii(std::string value) {
  Made m{true, IntegerText(static_cast<std::int64_t>(value.size()) + 1), std::move(value)};
  return m;
}

// A field nobody edited keeps the exact value it was read with, where that
// value has the form its standard type writes (a rational as n/d, a number
// for a SHORT); the comment is always written anew, with its marker. False:
// the field is to be built from its text.
bool KeepAsRead(const RecordStore& read, int r, Made& made) {
  if (!read.Found(r) || r == row::kUserComment || r == row::kMakerNote) return false;
  const std::string& value = read.lstValue.Row(r);
  const auto type = static_cast<int>(read.lstType.Number(r));
  switch (kStandardTypes[static_cast<std::size_t>(r)]) {
    case kAscii:
      if (type != kAscii) return false;
      made = Ascii(value);
      return true;
    case kRational:
    case kSRational:
      if (!IsRational(type) || value.find('/') == std::string::npos) return false;
      made = {true, "1", value, type};
      return true;
    case kShort: {
      if (type != kByte && type != kShort && type != kLong) return false;
      const double n = LeadingNumber(value);
      made = {true, "1", value, n >= 0 && n <= 65535 ? 0 : kLong};
      return true;
    }
    default:
      return false;
  }
}

// The three dates from the one date field. Unedited, each keeps the bytes it
// was read with (an unreadable date too) and a date the block lacks stays
// out; typed, all three get the date typed, which must be a real date.
std::optional<RefusedField::Why> MakeDates(std::string_view text, bool unedited,
                                           const RecordStore& read,
                                           std::array<Made, kCatalogueRows>& made) {
  constexpr int kDates[] = {row::kDateTime, row::kDateTimeOriginal, row::kDateTimeDigitized};
  if (unedited) {
    for (int r : kDates) {
      if (read.Found(r)) made[static_cast<std::size_t>(r)] = Ascii(read.lstValue.Row(r));
    }
    return std::nullopt;
  }
  const std::string_view t = TrimBlanks(text);
  if (t.empty()) return std::nullopt;  // a date emptied is written nowhere
  const std::optional<DateTime> date = ReadDate(t);
  if (!date) return RefusedField::Why::kUnreadableDate;
  for (int r : kDates) made[static_cast<std::size_t>(r)] = Ascii(ExifDateText(*date));
  return std::nullopt;
}

// A maker note typed as "Hex:" and digits: its bytes, which must be whole.
std::optional<RefusedField::Why> MakeHexMakerNote(std::string_view t, Made& made) {
  const std::string_view digits = t.substr(kHexPrefix.size());
  if (digits.size() % 2 != 0 || !IsHexDigits(digits)) return RefusedField::Why::kBadHex;
  made = {true, IntegerText(static_cast<std::int64_t>(digits.size() / 2)), std::string(t)};
  return std::nullopt;
}

// A row built from its field's text.
std::optional<RefusedField::Why> MakeFromField(int r, std::string_view text, bool unedited,
                                               Made& made) {
  std::string t(TrimBlanks(text));
  if (t.empty() && r != row::kUserComment) return std::nullopt;  // left out
  switch (kStandardTypes[static_cast<std::size_t>(r)]) {
    case kAscii:  // the text and its NUL
      made = Ascii(std::move(t));
      return std::nullopt;
    case kShort: {
      const double n = LeadingNumber(t);
      const double whole = RoundHalfEven(n);
      if (NamesNonFiniteNumber(t) || whole < 0 || whole > 65535) {
        return RefusedField::Why::kOutOfRange;
      }
      made = {true, "1", DoubleText(n)};
      return std::nullopt;
    }
    case kRational:
    case kSRational: {
      std::optional<std::string> rational = RationalValue(r, t, unedited);
      if (!rational) return RefusedField::Why::kOutOfRange;
      made = {true, "1", *rational};
      return std::nullopt;
    }
    default:  // UNDEFINED: maker note and user comment
      if (r == row::kMakerNote && t.starts_with(kHexPrefix)) return MakeHexMakerNote(t, made);
      if (r == row::kMakerNote && IsHexDigits(t)) {
        made = {true, DoubleText(static_cast<double>(t.size()) / 2), std::string(kHexPrefix) + t};
      } else if (r == row::kUserComment && IsHexComment(t)) {
        made = {true, IntegerText(static_cast<std::int64_t>(t.size() - kHexPrefix.size()) / 2), t};
      } else {
        std::string value = r == row::kUserComment ? std::string(kCommentMarker) + t : t;
        made = {true, IntegerText(static_cast<std::int64_t>(value.size()) + 8), std::move(value)};
      }
      return std::nullopt;
  }
}

}  // namespace

int StandardType(int row) {
  return kStandardTypes[static_cast<std::size_t>(row)];
}

std::string ConvDate(std::string_view text) {
  const std::optional<DateTime> date = ReadDate(text);
  return date ? ExifDateText(*date) : std::string(kDefaultDate);
}

std::optional<RefusedField> RestoreValue(const std::array<std::string, kFieldCount>& fields,
                                         RecordStore& target, DirectoryCounts& counts,
                                         const std::array<bool, kFieldCount>& unedited) {
  // The catalogued side is built apart and takes its place at the end, so
  // that a refused field leaves the store as it was; till then `read` keeps
  // the block as it was read.
  const RecordStore& read = target;
  TextList position, count, type, valuePosition, value;
  std::array<Made, kCatalogueRows> made;
  made[row::kExifPointer] = {true, "1", "0"};
  made[row::kOrientation] = {true, "1", KeptOrientation(read)};
  for (int i = 0; i < kFieldCount; ++i) {
    const auto f = static_cast<std::size_t>(i);
    std::optional<RefusedField::Why> refused;
    if (i == field::kDate) {
      refused = MakeDates(fields[f], unedited[f], read, made);
    } else {
      const int r = FieldRow(i);
      refused = unedited[f] && KeepAsRead(read, r, made[static_cast<std::size_t>(r)])
                    ? std::nullopt
                    : MakeFromField(r, fields[f], unedited[f], made[static_cast<std::size_t>(r)]);
    }
    if (refused) return RefusedField{i, *refused};
  }

  DirectoryCounts entries{0, 0};
  for (int r = 0; r < kCatalogueRows; ++r) {
    const Made& m = made[static_cast<std::size_t>(r)];
    type.AppendNumber(m.type != 0 ? m.type : kStandardTypes[static_cast<std::size_t>(r)]);
    position.Append(m.written ? "1" : "0");
    count.Append(m.written ? m.count : "0");
    valuePosition.Append(r == row::kOrientation ? "1" : "0");
    value.Append(m.value);
    if (m.written)
      (r <= row::kLastIfd0Row ? entries.Ifd0EntryCount : entries.ExifIfdEntryCount) += 1;
  }
  target.lstType = std::move(type);
  target.lstPosition = std::move(position);
  target.lstCount = std::move(count);
  target.lstValuePos = std::move(valuePosition);
  target.lstValue = std::move(value);
  counts = entries;
  return std::nullopt;
}

}  // namespace tagloom
