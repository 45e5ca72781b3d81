// A table's columns matched to the fields, and its cells turned into field texts.
#include <gtest/gtest.h>

#include "model/table_cells.h"
#include "model/table_columns.h"

namespace tagloom {
namespace {

std::size_t FieldOfKey(std::string_view key) {
  std::size_t i = 0;
  while (i < kFields.size() && kFields[i].key != key) ++i;
  return i;  // kFields.size() for no field, which field.at() refuses
}

// Keys and captions have a test of their own.
TEST(MatchColumns, EachNameShotLogsUseFindsItsField) {
  const std::pair<const char*, std::vector<const char*>> names[] = {
      {"make", {"Camera", "MANUFACTURER"}},
      {"software", {"Firmware"}},
      {"copyright", {"Rights"}},
      {"date", {"Date taken", "DateTime", "DateTimeOriginal"}},
      {"exposure_time", {"Shutter", "Shutter speed", "Exposure", "Exposure Time"}},
      {"fnumber", {"Aperture", "F-number", "f"}},
      {"iso", {"ISO speed"}},
      {"focal_length", {"Focal length", "focal", "Lens focal length"}},
      {"comment", {"Notes", "note", "Comments", "Description", "Caption"}},
      {"exposure_bias", {"Exposure bias", "EV", "exposure-compensation"}},
      {"metering_mode", {"Metering", "Metering mode"}},
      {"exposure_program", {"Program", "exposure.program"}},
      {"subject_distance", {"Distance", "Subject distance"}},
  };
  for (const auto& [key, aliases] : names) {
    for (const char* name : aliases) {
      EXPECT_EQ(MatchColumns({"file", name}).field.at(FieldOfKey(key)), 1) << name;
    }
  }
  for (const char* file : {"File", "filename", "File name", "NAME", "path", "文件"}) {
    EXPECT_EQ(MatchColumns({"x", file}).file, 1) << file;
  }
}

TEST(MatchColumns, EveryFieldsKeyAndCaptionButTheMakerNotesFindTheirField) {
  std::vector<std::string> keys, captions;
  for (const FieldInfo& info : kFields) {
    keys.emplace_back(info.key);
    captions.emplace_back(info.caption.substr(0, info.caption.size() - 1));  // without ":"
  }
  for (const auto& header : {keys, captions}) {
    const Columns columns = MatchColumns(header);
    for (int i = 0; i < kFieldCount; ++i) {
      EXPECT_EQ(columns.field[static_cast<std::size_t>(i)], i == field::kMakerNote ? kNoColumn : i)
          << header[static_cast<std::size_t>(i)];
    }
    ASSERT_EQ(columns.unused.size(), 1u);
    EXPECT_EQ(columns.unused[0].reason, UnusedReason::kMakerNote);
  }
}

TEST(MatchColumns, ListsUnknownRepeatedAndMakerNoteColumnsAsUnused) {
  const Columns columns = MatchColumns(
      {"Frame", "File name", "快门", "Lens", "Shutter speed", "", "maker_note", "Path"});
  EXPECT_EQ(columns.file, 1);
  EXPECT_EQ(columns.field[field::kExposureTime], 2);
  const std::tuple<int, UnusedReason, int> unused[] = {{0, UnusedReason::kUnknownName, kNoColumn},
                                                       {3, UnusedReason::kUnknownName, kNoColumn},
                                                       {4, UnusedReason::kRepeated, 2},
                                                       {5, UnusedReason::kUnknownName, kNoColumn},
                                                       {6, UnusedReason::kMakerNote, kNoColumn},
                                                       {7, UnusedReason::kRepeated, 1}};
  ASSERT_EQ(columns.unused.size(), std::size(unused));
  for (std::size_t i = 0; i < std::size(unused); ++i) {
    const auto& [column, reason, earlier] = unused[i];
    EXPECT_EQ(columns.unused[i].column, column) << i;
    EXPECT_EQ(columns.unused[i].reason, reason) << i;
    EXPECT_EQ(columns.unused[i].earlier, earlier) << i;
  }
}

// The value as a text: "keep", the field text, or "refused: <fault>".
std::string Shown(const CellValue& value) {
  if (std::holds_alternative<KeepField>(value)) return "keep";
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  const CellProblem& problem = std::get<CellProblem>(value);
  return problem.fault == CellFault::kNotADate ? "refused: date" : "refused: number";
}

TEST(FieldTextOfCell, ReadsTheFormsShotLogsWriteAndRefusesWhatItCannotRead) {
  const struct {
    int field;
    const char* text;  // as Shown() gives it
    std::vector<const char*> cells;
  } cases[] = {
      {field::kDate,
       "1998/07/14 10:00:00",
       {"1998-07-14T10:00:00", " 1998-07-14 10:00 ", "1998/07/14 10:00:00", "1998:07:14 10:00:00"}},
      {field::kExposureTime, "1/125", {"1/125", "1/125s", "1/125 s"}},
      {field::kExposureTime, "0.5", {"0.5"}},
      {field::kExposureTime, "2", {"2s", "2\""}},
      {field::kFNumber, "8", {"f/8", "F8", "f8", "8"}},
      {field::kFNumber, "2.8", {"f/2.8"}},
      {field::kFocalLength, "50", {"50mm", "50 mm", "50"}},
      {field::kIso, "400", {"ISO 400", "400"}},
      {field::kExposureBias, "-1/3", {"-1/3"}},
      {field::kComment, "Rain, 2 rolls", {" Rain, 2 rolls "}},
      {field::kIso, "keep", {"", "  "}},
      {field::kDate,
       "refused: date",
       {"1998-07-14", "14.07.1998 10:00", "1998-02-30T10:00", "1998-07-14T10:00:00Z"}},
      {field::kExposureTime, "refused: number", {"fast", "1/0", "1/125 sec"}},
      {field::kFNumber, "refused: number", {"f/", "f/8-11"}},
      {field::kFocalLength, "refused: number", {"50-70mm"}},
      {field::kIso, "refused: number", {"1/2", "ISO auto"}},  // ISO is whole, no fraction
      {field::kFlash, "refused: number", {"yes"}},
      {field::kExposureBias, "refused: number", {"nan"}},
  };
  for (const auto& c : cases) {
    for (const char* cell : c.cells) {
      EXPECT_EQ(Shown(FieldTextOfCell(c.field, cell)), c.text)
          << kFields[static_cast<std::size_t>(c.field)].key << " '" << cell << "'";
    }
  }
  EXPECT_EQ(FieldTextOfCell(field::kIso, "ISO x"),
            CellValue(CellProblem{field::kIso, CellFault::kNotANumber, "ISO x"}));
}

}  // namespace
}  // namespace tagloom
