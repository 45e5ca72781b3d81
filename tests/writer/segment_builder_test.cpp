#include "writer/segment_builder.h"

#include <gtest/gtest.h>

#include <climits>

namespace tagloom {
namespace {

using B = SegmentBuilder;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

// A store whose maker-note row (tag 927C) holds the given entry.
RecordStore Row(const char* type, const char* value, const char* count = "1") {
  RecordStore store;
  store.Reset();
  store.lstType.Set(row::kMakerNote, type);
  store.lstValue.Set(row::kMakerNote, value);
  store.lstCount.Set(row::kMakerNote, count);
  store.lstValuePos.Set(row::kMakerNote, "-2");
  return store;
}

TEST(SegmentBuilder, EachPrimitiveAppendsItsBytesOrFailsTheBuild) {
  using Add = std::function<void(B&)>;
  auto value = [](const char* type, const char* text) -> Add {
    return [=](B& b) { b.AddValue(Row(type, text), row::kMakerNote); };
  };
  auto table = [](const char* count) -> Add {
    return [=](B& b) { b.AddTable(Row("7", "", count), row::kMakerNote); };
  };
  const std::string most(B::kMaxSegmentBytes, 'x');
  struct Case {
    const char* what;
    Add add;
    std::string bytes;
    BuildError error = BuildError::kNone;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"AddHex ffe1", [](B& b) { b.AddHex("ffe1"); }, Bytes({0xFF, 0xE1})},
           {"AddHex 3 digits", [](B& b) { b.AddHex("2A0"); }, ""},
           {"AddTag 5 digits", [](B& b) { b.AddTag("01120"); }, ""},
           {"AddLong -2", [](B& b) { b.AddLong(-2); }, Bytes({0xFE, 0xFF, 0xFF, 0xFF})},
           {"AddLong INT_MIN", [](B& b) { b.AddLong(INT_MIN); }, Bytes({0, 0, 0, 0x80})},
           {"ASCII", value("2", "Canon"), std::string("Canon\0", 6)},
           {"RATIONAL", value("5", "10/300"), Bytes({10, 0, 0, 0, 0x2C, 0x01, 0, 0})},
           {"SRATIONAL", value("10", "-1/3"), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0})},
           {"RATIONAL without /", value("5", "12"), "", BuildError::kBadRational},
           {"RATIONAL past 32 bits", value("5", "1/3000000000"), "", BuildError::kBadNumber},
           {"Hex", value("7", "Hex:0a1B2c3D4e"), Bytes({0x0A, 0x1B, 0x2C, 0x3D, 0x4E})},
           // Half the digits, halves to even; a digit left alone is read by itself.
           {"Hex, 11 digits", value("7", "Hex:0102FF0A1B3"), Bytes({1, 2, 0xFF, 10, 0x1B, 3})},
           {"Hex, 13 digits", value("7", "Hex:0102FF0A1B3C4"), Bytes({1, 2, 0xFF, 10, 0x1B, 0x3C})},
           {"text undefined", value("7", "abc"), std::string("ASCII\0\0\0abc", 11)},
           {"AddTable", table("3.5"),
            Bytes({0x7C, 0x92, 7, 0, 4, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF})},
           {"AddTable, count past 32 bits", table("3000000000"), "", BuildError::kBadNumber},
           {"65,535 bytes", [&](B& b) { b.AddString(most); }, most},
           {"65,536 bytes", [&](B& b) { b.AddString(most), b.AddByte(1); }, most,
            BuildError::kTooLarge},
           // A string that would cross the limit adds nothing at all.
           {"crossing", [&](B& b) { b.AddString("x"), b.AddString(most); }, "x",
            BuildError::kTooLarge},
       }) {
    B b;
    c.add(b);
    EXPECT_EQ(b.Bytes(), c.bytes) << c.what;
    EXPECT_EQ(b.Error(), c.error) << c.what;
    const bool rowError = c.error != BuildError::kNone && c.error != BuildError::kTooLarge;
    EXPECT_EQ(b.ErrorRow(), rowError ? row::kMakerNote : -1) << c.what;
  }
}

}  // namespace
}  // namespace tagloom
