#include "model/display_conversion.h"

#include <array>
#include <cmath>

#include "model/catalogue.h"
#include "model/number_text.h"
#include "model/tiff_type.h"
#include "model/value_text.h"

namespace tagloom {

std::string DateForDisplay(std::string_view stored) {
  std::string text(stored);
  int replaced = 0;
  for (char& c : text) {
    if (replaced == 2) break;
    if (c == ':') {
      c = '/';
      ++replaced;
    }
  }
  return text;
}

bool IsStoredFraction(std::string_view value, int type) {
  return tiff::IsRational(type) && value.find('/') != std::string_view::npos;
}

namespace {

std::string WithoutMinus(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c != '-') result += c;
  }
  return result;
}

// The label of an exposure-bias magnitude, or "" when it has none of its own.
std::string_view BiasLabel(float magnitude) {
  struct Label {
    float value;
    std::string_view text;
  };
  static const std::array<Label, 9> kLabels = {{
      {0.0f, "0"},
      {1.0f / 3.0f, "1/3"},
      {1.0f / 2.0f, "1/2"},
      {2.0f / 3.0f, "2/3"},
      {1.0f, "1"},
      {4.0f / 3.0f, "4/3"},
      {3.0f / 2.0f, "3/2"},
      {5.0f / 3.0f, "5/3"},
      {2.0f, "2.0"},
  }};
  for (const Label& label : kLabels) {
    if (magnitude == label.value) return label.text;
  }
  return {};
}

}  // namespace

std::string FractionForDisplay(int row, std::string_view value) {
  std::size_t slash = value.find('/');
  std::string_view numeratorText = value.substr(0, slash);
  std::string_view denominatorText = value.substr(slash + 1);
  auto n = static_cast<float>(LeadingNumber(numeratorText));
  auto d = static_cast<float>(LeadingNumber(denominatorText));
  // No quotient for a zero denominator (nor for numbers beyond single range).
  if (d == 0 || !std::isfinite(n) || !std::isfinite(d)) return std::string(value);
  float q = n / d;

  if (row == row::kExposureBias) {
    if (q == 0) return "0";
    std::string label(BiasLabel(std::fabs(q)));
    if (label.empty()) label = WithoutMinus(numeratorText) + "/" + WithoutMinus(denominatorText);
    return (q > 0 ? "+" : "-") + label;
  }
  if (q >= 1) {
    std::string text = SingleText(q);
    bool exponentForm = text.find('E') != std::string::npos;
    if (q == std::floor(q) && !exponentForm) text += ".0";
    return text;
  }
  if (n > 1) {
    // Reduced to a unit fraction, d / n rounded half up.
    double whole = std::floor(static_cast<double>(d / n + 0.5f));
    return "1/" + IntegerText(static_cast<std::int64_t>(whole));
  }
  return std::string(value);
}

std::string_view TextForDisplay(int row, std::string_view value) {
  if (row == row::kUserComment && value.substr(0, kCommentMarker.size()) == kCommentMarker) {
    value.remove_prefix(kCommentMarker.size());
  } else if (row == row::kMakerNote && value.substr(0, kHexPrefix.size()) == kHexPrefix) {
    value.remove_prefix(kHexPrefix.size());
  }
  return value;
}

int PickerItemFor(std::string_view value, const PickerInfo& picker) {
  double n = RoundHalfEven(LeadingNumber(value));
  if (picker.picker == Picker::kOptFlash && n >= 0 && n <= 65535) {
    return static_cast<int>(n) & 1;
  }
  if (n < 0 || n >= picker.ItemCount()) return -1;
  return static_cast<int>(n);
}

}  // namespace tagloom
