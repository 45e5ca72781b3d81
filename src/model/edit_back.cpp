#include "model/edit_back.h"

#include <cmath>
#include <cstdio>

#include "model/date_shift.h"
#include "model/hex_text.h"
#include "model/number_text.h"
#include "model/tiff_type.h"
#include "model/value_text.h"

namespace tagloom {
namespace {

// The type each catalogue row is written with.
using namespace tiff;
constexpr std::array<int, kCatalogueRows> kStandardTypes = {
    kLong,      kShort,     kAscii,     kAscii,    kAscii,     kAscii,     kAscii,
    kRational,  kRational,  kShort,     kShort,    kSRational, kRational,  kShort,
    kUndefined, kUndefined, kShort,     kRational, kAscii,     kAscii};

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != ' ') out += c;
  }
  return out;
}

// Reads up to `maxDigits` digits (at least one) as a number; advances `i`.
bool Digits(std::string_view text, std::size_t& i, int minDigits, int maxDigits, int& value) {
  int count = 0;
  value = 0;
  while (i < text.size() && count < maxDigits && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i++] - '0');
    ++count;
  }
  return count >= minDigits;
}

struct Date {
  int year, month, day;
};
struct Time {
  int hour, minute, second;
};

// year/month/day, year-month-day or year:month:day (the EXIF form), one
// separator kind throughout.
std::optional<Date> ReadDate(std::string_view text) {
  Date d{};
  std::size_t i = 0;
  if (!Digits(text, i, 4, 4, d.year) || i >= text.size()) return std::nullopt;
  char separator = text[i];
  if (separator != '/' && separator != '-' && separator != ':') return std::nullopt;
  ++i;
  if (!Digits(text, i, 1, 2, d.month) || i >= text.size() || text[i] != separator) {
    return std::nullopt;
  }
  ++i;
  if (!Digits(text, i, 1, 2, d.day) || i != text.size()) return std::nullopt;
  if (d.year < 1 || d.month < 1 || d.month > 12) return std::nullopt;
  if (d.day < 1 || d.day > DaysInMonth(d.year, d.month)) return std::nullopt;
  return d;
}

// hours:minutes or hours:minutes:seconds, 24-hour.
std::optional<Time> ReadTime(std::string_view text) {
  Time t{};
  std::size_t i = 0;
  if (!Digits(text, i, 1, 2, t.hour) || i >= text.size() || text[i] != ':') return std::nullopt;
  ++i;
  if (!Digits(text, i, 1, 2, t.minute)) return std::nullopt;
  if (i < text.size()) {
    if (text[i] != ':') return std::nullopt;
    ++i;
    if (!Digits(text, i, 1, 2, t.second) || i != text.size()) return std::nullopt;
  }
  if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
  return t;
}

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

}  // namespace

int StandardType(int row) {
  return kStandardTypes[static_cast<std::size_t>(row)];
}

std::optional<std::string> ReadDateText(std::string_view text) {
  std::string_view datePart = text;
  std::string timePart;
  std::size_t blank = text.find(' ');
  if (blank != std::string_view::npos) {
    datePart = text.substr(0, blank);
    timePart = WithoutBlanks(text.substr(blank + 1));
  }
  std::optional<Time> time = ReadTime(timePart);
  std::optional<Date> date = ReadDate(WithoutBlanks(datePart));
  if (!time || !date) return std::nullopt;
  char out[40];
  std::snprintf(out, sizeof out, "%d:%02d:%02d %02d:%02d:%02d", date->year, date->month, date->day,
                time->hour, time->minute, time->second);
  return out;
}

std::string ConvDate(std::string_view text) {
  return ReadDateText(text).value_or(std::string(kDefaultDate));
}

std::optional<RefusedField> RestoreValue(const std::array<std::string, kFieldCount>& fields,
                                         RecordStore& target, DirectoryCounts& counts,
                                         const std::array<bool, kFieldCount>& unedited) {
  // Built on a copy, so that a refused field leaves the store as it was.
  RecordStore store = target;
  // The orientation read with the block, kept when it is one of the eight.
  std::string orientation = "1";
  const std::string& read = store.lstValue.Row(row::kOrientation);
  double readOrientation = LeadingNumber(read);
  if (store.Found(row::kOrientation) && IsWhole(readOrientation) && readOrientation >= 1 &&
      readOrientation <= 8) {
    orientation = IntegerText(static_cast<std::int64_t>(readOrientation));
  }

  DirectoryCounts made{2, 2};
  for (TextList* list :
       {&store.lstPosition, &store.lstCount, &store.lstType, &store.lstValuePos, &store.lstValue}) {
    list->Clear();
  }
  for (int type : kStandardTypes) store.lstType.Append(IntegerText(type));
  auto append = [&](std::string_view position, std::string_view count, std::string_view valuePos,
                    std::string_view value) {
    store.lstPosition.Append(position);
    store.lstCount.Append(count);
    store.lstValuePos.Append(valuePos);
    store.lstValue.Append(value);
  };
  append("1", "1", "0", "0");
  append("1", "1", "1", orientation);

  for (int i = 0; i < kFieldCount; ++i) {
    const int r = FieldRow(i);
    std::string t(TrimBlanks(fields[static_cast<std::size_t>(i)]));
    if (t.empty() && r != row::kUserComment) {
      append("0", "0", "0", "");
      continue;
    }
    (r <= row::kLastIfd0Row ? made.Ifd0EntryCount : made.ExifIfdEntryCount) += 1;
    std::string value, count;
    switch (kStandardTypes[static_cast<std::size_t>(r)]) {
      case kAscii:  // the text and its NUL
        value = r == row::kDateTime ? ConvDate(t) : t;
        count = IntegerText(static_cast<std::int64_t>(value.size()) + 1);
        break;
      case kShort: {
        double n = LeadingNumber(t);
        double whole = RoundHalfEven(n);
        if (NamesNonFiniteNumber(t) || whole < 0 || whole > 65535) return RefusedField{i};
        value = DoubleText(n);
        count = "1";
        break;
      }
      case kRational:
      case kSRational: {
        std::optional<std::string> rational =
            RationalValue(r, t, unedited[static_cast<std::size_t>(i)]);
        if (!rational) return RefusedField{i};
        value = *rational;
        count = "1";
        break;
      }
      default:  // UNDEFINED: maker note and user comment
        if (r == row::kMakerNote && IsHexDigits(t)) {
          value = std::string(kHexPrefix) + t;
          count = DoubleText(static_cast<double>(t.size()) / 2);
        } else if (r == row::kUserComment && IsHexComment(t)) {
          value = t;
          count = IntegerText(static_cast<std::int64_t>(t.size() - kHexPrefix.size()) / 2);
        } else {
          value = r == row::kUserComment ? std::string(kCommentMarker) + t : t;
          count = IntegerText(static_cast<std::int64_t>(value.size()) + 8);
        }
        break;
    }
    append("1", count, "0", value);
  }

  // The three dates are all written with the one date of the date field.
  const std::string dateCount = store.lstCount.Row(row::kDateTime);
  const std::string dateValue = store.lstValue.Row(row::kDateTime);
  append("1", dateCount, "0", dateValue);
  append("1", dateCount, "0", dateValue);
  target = std::move(store);
  counts = made;
  return std::nullopt;
}

}  // namespace tagloom
