// `tagloom-cli show`, run as a child process the way a script runs it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/photo_report.h"
#include "model/catalogue.h"
#include "support/fixture_builder.h"
#include "support/oracle.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using nlohmann::json;
using test::Ascii;
using test::AsciiRaw;
using test::ByteOrder;
using test::JpegBuilder;
using test::TiffBuilder;

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

CliRun RunCli(const std::vector<std::string>& args) {
  test::TempDir errors;
  std::string command = test::ShellQuoted(TAGLOOM_CLI);
  for (const std::string& arg : args) command += " " + test::ShellQuoted(arg);
  const std::string errFile = errors.File("stderr");
  command += " 2>" + test::ShellQuoted(errFile) + " </dev/null";
  test::CommandResult run = test::RunCommand(command);
  return {run.status, run.output, test::ReadFile(errFile)};
}

std::string Photo(const std::string& name) {
  return (test::PhotosDir() / name).string();
}

std::set<std::string> Keys(const json& object) {
  std::set<std::string> keys;
  for (const auto& item : object.items()) keys.insert(item.key());
  return keys;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The words of a line, split at blanks.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// The line that starts with two blanks and `start`, or "".
std::string LineStarting(const std::string& text, const std::string& start) {
  for (const std::string& line : Lines(text)) {
    if (line.rfind("  " + start, 0) == 0) return line;
  }
  return "";
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(ShowCommand, JsonHasOneObjectPerPhotographWithItsKeys) {
  // 30-type_error.jpg's Exif pointer read as text holds control and non-UTF-8 bytes.
  const std::vector<std::string> photos = {
      Photo("Canon_40D.jpg"), Photo("HTC Desire.jpg"), Photo("olympus-d320l.jpg"),
      Photo("Issue 173 (dotnet).jpg"), Photo("30-type_error.jpg")};
  std::vector<std::string> args = {"show", "--json"};
  args.insert(args.end(), photos.begin(), photos.end());
  CliRun run = RunCli(args);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");

  const json reports = json::parse(run.out);
  ASSERT_TRUE(reports.is_array());
  ASSERT_EQ(reports.size(), photos.size());
  const std::vector<std::string> sources = {"photo", "photo", "none", "photo", "photo"};
  std::set<std::string> fieldKeys;
  for (const FieldInfo& field : kFields) fieldKeys.insert(std::string(field.key));
  EXPECT_EQ(fieldKeys.size(), 16u);

  for (std::size_t k = 0; k < photos.size(); ++k) {
    SCOPED_TRACE(photos[k]);
    const json& report = reports[k];
    EXPECT_EQ(Keys(report), (std::set<std::string>{"file", "source", "backup_exists", "fields",
                                                   "tags", "unused"}));
    EXPECT_EQ(report["file"], photos[k]);
    EXPECT_EQ(report["source"], sources[k]);
    EXPECT_EQ(report["backup_exists"], false);

    EXPECT_EQ(Keys(report["fields"]), fieldKeys);
    for (const auto& field : report["fields"].items()) EXPECT_TRUE(field.value().is_string());

    const json& tags = report["tags"];
    ASSERT_EQ(tags.size(), static_cast<std::size_t>(kCatalogueRows));
    for (int r = 0; r < kCatalogueRows; ++r) {
      const json& tag = tags[static_cast<std::size_t>(r)];
      EXPECT_EQ(Keys(tag), (std::set<std::string>{"row", "tag", "name", "pos", "count", "type",
                                                  "vpos", "value"}));
      EXPECT_EQ(tag["row"], r);
      EXPECT_EQ(tag["tag"], kCatalogue[static_cast<std::size_t>(r)].tag);
      EXPECT_EQ(tag["name"], kCatalogue[static_cast<std::size_t>(r)].title);
      for (const char* number : {"pos", "count", "type", "vpos"}) {
        EXPECT_TRUE(tag[number].is_number_integer()) << number;
      }
      EXPECT_TRUE(tag["value"].is_string());
      if (sources[k] == "none") {
        EXPECT_EQ(tag["pos"], 0);
      }
    }

    const json& unused = report["unused"];
    ASSERT_TRUE(unused.is_array());
    EXPECT_EQ(unused.empty(), sources[k] == "none");
    for (const json& entry : unused) {
      EXPECT_EQ(Keys(entry),
                (std::set<std::string>{"tag", "pos", "count", "type", "vpos", "value"}));
      for (const char* number : {"pos", "count", "type", "vpos"}) {
        EXPECT_TRUE(entry[number].is_number_integer()) << number;
      }
      EXPECT_GT(entry["pos"].get<std::int64_t>(), 0);
    }
  }
}

TEST(ShowCommand, JsonCarriesTheFieldsAndRowsOfCanon40D) {
  CliRun run = RunCli({"show", "--json", Photo("Canon_40D.jpg")});
  ASSERT_EQ(run.status, 0) << run.err;
  const json report = json::parse(run.out).at(0);
  const json& fields = report["fields"];
  EXPECT_EQ(fields["make"], "Canon");
  EXPECT_EQ(fields["model"], "Canon EOS 40D");
  EXPECT_EQ(fields["exposure_time"], "1/160");
  EXPECT_EQ(fields["fnumber"], "7.1");
  EXPECT_EQ(fields["focal_length"], "135.0");
  EXPECT_EQ(fields["date"], "2008/05/30 15:56:01");
  EXPECT_EQ(fields["exposure_program"], "1");
  EXPECT_EQ(fields["exposure_bias"], "0");
  EXPECT_EQ(fields["copyright"], "");

  const json& tags = report["tags"];
  EXPECT_EQ(tags[row::kFNumber]["value"], "71/10");
  EXPECT_EQ(tags[row::kFNumber]["type"], 5);
  EXPECT_EQ(tags[row::kMake]["count"], 6);
  EXPECT_EQ(tags[row::kDateTime]["value"], "2008:07:31 10:38:11");
  // The GPS pointer is not followed: an uncatalogued LONG whose value is its offset.
  bool gps = false;
  for (const json& entry : report["unused"]) {
    if (entry["tag"] == "8825") {
      gps = true;
      EXPECT_EQ(entry["type"], 4);
      EXPECT_EQ(entry["value"], "978");
    }
  }
  EXPECT_TRUE(gps);
}

TEST(ShowCommand, ABackupBesideAPhotographWithoutExifIsShown) {
  test::TempDir dir;
  const std::string noExif = JpegBuilder().App0Jfif().Scan().Build();
  const std::string segment =
      test::ExifSegment(TiffBuilder(ByteOrder::kBig)
                            .Ifd0({Ascii(0x010F, "Backup Maker"), Ascii(0x0110, "Model B")})
                            .ExifIfd({test::Short(0x8827, 400), test::Rational(0x829A, 1, 250)})
                            .Build());
  // The backup's name: the path up to and including its last ".", then "Exif".
  const std::string fromBackup = dir.Write("trip.day1.jpg", noExif);
  dir.Write("trip.day1.Exif", test::BackupFile(segment));
  const std::string withExif = dir.Write(
      "own.jpg", JpegBuilder()
                     .App1Exif(TiffBuilder().Ifd0({Ascii(0x010F, "Own")}).ExifIfd({}).Build())
                     .Build());
  dir.Write("own.Exif", test::BackupFile(segment));
  const std::string damaged = dir.Write("damaged.jpg", noExif);
  dir.Write("damaged.Exif", "Not a backup file at all, only text");

  CliRun run = RunCli({"show", "--json", fromBackup, withExif, damaged});
  EXPECT_EQ(run.status, 0) << run.err;
  const json reports = json::parse(run.out);
  ASSERT_EQ(reports.size(), 3u);

  EXPECT_EQ(reports[0]["source"], "backup");
  EXPECT_EQ(reports[0]["backup_exists"], true);
  EXPECT_EQ(reports[0]["fields"]["make"], "Backup Maker");
  EXPECT_EQ(reports[0]["fields"]["model"], "Model B");
  EXPECT_EQ(reports[0]["fields"]["iso"], "400");
  EXPECT_EQ(reports[0]["fields"]["exposure_time"], "1/250");

  EXPECT_EQ(reports[1]["source"], "photo");
  EXPECT_EQ(reports[1]["backup_exists"], true);
  EXPECT_EQ(reports[1]["fields"]["make"], "Own");

  EXPECT_EQ(reports[2]["source"], "none");
  EXPECT_NE(run.err.find("damaged.jpg"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Exif备份数据损坏!"), std::string::npos) << run.err;
}

TEST(ShowCommand, ExitStatusTellsWhetherEveryPhotographWasRead) {
  test::TempDir dir;
  const std::string missing = dir.File("missing.jpg");

  CliRun all = RunCli({"show", Photo("Canon_40D.jpg"), Photo("no_exif.jpg")});
  EXPECT_EQ(all.status, 0) << all.err;

  // A missing photograph is reported on stderr; the others are still printed.
  CliRun oneMissing =
      RunCli({"show", "--json", Photo("Canon_40D.jpg"), missing, Photo("HTC Desire.jpg")});
  EXPECT_EQ(oneMissing.status, 1);
  EXPECT_NE(oneMissing.err.find("missing.jpg"), std::string::npos) << oneMissing.err;
  EXPECT_NE(oneMissing.err.find("没有这个图像文件!"), std::string::npos) << oneMissing.err;
  const json reports = json::parse(oneMissing.out);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0]["fields"]["make"], "Canon");
  EXPECT_EQ(reports[1]["fields"]["make"], "HTC");

  CliRun textMissing = RunCli({"show", missing, Photo("Canon_40D.jpg")});
  EXPECT_EQ(textMissing.status, 1);
  EXPECT_NE(textMissing.out.find(Photo("Canon_40D.jpg")), std::string::npos);
  EXPECT_EQ(textMissing.out.find("missing.jpg"), std::string::npos);

  // Nothing readable still gives a JSON array.
  CliRun noneRead = RunCli({"show", "--json", missing});
  EXPECT_EQ(noneRead.status, 1);
  EXPECT_EQ(json::parse(noneRead.out), json::array());

  const std::vector<std::vector<std::string>> usageErrors = {
      {},
      {"show"},
      {"show", "--json"},
      {"show", "--bogus", Photo("Canon_40D.jpg")},
      {"frobnicate", Photo("Canon_40D.jpg")}};
  for (const auto& args : usageErrors) {
    CliRun usage = RunCli(args);
    SCOPED_TRACE(args.empty() ? "(no arguments)" : args.back());
    EXPECT_EQ(usage.status, 2);
    EXPECT_FALSE(usage.err.empty());
    EXPECT_EQ(usage.out.find("制造商"), std::string::npos);
  }
}

TEST(ShowCommand, TextShowsEveryCaptionWithItsValueInOneColumn) {
  const std::string canon = Photo("Canon_40D.jpg");
  CliRun run = RunCli({"show", canon});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], canon);
  EXPECT_NE(run.out.find("source: photo"), std::string::npos);

  const std::vector<std::pair<std::string, std::string>> expected = {
      {"制造商:", "Canon"},        {"型号:", "Canon EOS 40D"},
      {"硬件版本:", "GIMP 2.4.5"}, {"拍摄日期:", "2008/05/30 15:56:01"},
      {"快门:", "1/160"},          {"光圈:", "7.1"},
      {"焦距:", "135.0"},          {"ISO值:", "100"},
      {"曝光程序:", "(1)"},        {"测光模式:", "(5)"}};
  for (const auto& [caption, value] : expected) {
    std::string line = LineStarting(run.out, caption);
    EXPECT_TRUE(EndsWith(line, value)) << caption << " -> " << line;
  }
  // Every value starts in the same terminal column, the Chinese captions
  // counting two columns a character.
  std::set<std::size_t> columns;
  for (const FieldInfo& field : kFields) {
    std::string line = LineStarting(run.out, std::string(field.caption));
    ASSERT_FALSE(line.empty()) << field.caption;
    std::size_t value = line.find_first_not_of(' ', 2 + field.caption.size());
    if (value != std::string::npos) columns.insert(cli::DisplayWidth(line.substr(0, value)));
  }
  EXPECT_EQ(columns.size(), 1u);

  EXPECT_EQ(run.out.find("Un Used"), std::string::npos);
  EXPECT_EQ(run.out.find("VPos"), std::string::npos);
}

TEST(ShowCommand, InspectAddsTheTwoTablesOfTheRecordStore) {
  CliRun run = RunCli({"show", "--inspect", Photo("Canon_40D.jpg")});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> lines = Lines(run.out);
  auto heading = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return Words(line) ==
           std::vector<std::string>{"Tag", "Pos", "Count", "Type", "VPos", "Name", "Value"};
  });
  ASSERT_NE(heading, lines.end()) << run.out;
  // One line per catalogue row after the heading, in catalogue order.
  for (int r = 0; r < kCatalogueRows; ++r) {
    ASSERT_LT(static_cast<std::size_t>(heading - lines.begin()) + 1 + r, lines.size());
    std::vector<std::string> cells = Words(*(heading + 1 + r));
    ASSERT_GE(cells.size(), 6u);
    EXPECT_EQ(cells[0], kCatalogue[static_cast<std::size_t>(r)].tag);
    EXPECT_EQ(cells[5], kCatalogue[static_cast<std::size_t>(r)].title);
  }
  EXPECT_EQ(Words(*(heading + 1 + row::kMake)).back(), "Canon");
  EXPECT_EQ(Words(*(heading + 1 + row::kFNumber)),
            (std::vector<std::string>{"829D", "259", "1", "5", "618", "光圈号码", "71/10"}));

  auto unused = std::find_if(heading, lines.end(), [](const std::string& line) {
    return Words(line) == std::vector<std::string>{"Un", "Used"};
  });
  ASSERT_NE(unused, lines.end());
  ASSERT_NE(unused + 1, lines.end());
  EXPECT_EQ(Words(*(unused + 1)), (std::vector<std::string>{"Tag", "Pos", "VPos", "Value"}));
  EXPECT_NE(LineStarting(run.out, "8825").find("978"), std::string::npos);
}

TEST(ShowCommand, BytesThatAreNotUtf8BecomeValidUtf8) {
  test::TempDir dir;
  // Latin-1 bytes in a text value, in a user comment and in the file name.
  const std::string photo =
      dir.Write("caf\xE9.jpg",
                JpegBuilder()
                    .App0Jfif()
                    .App1Exif(TiffBuilder()
                                  .Ifd0({Ascii(0x010F, "Caf\xE9"), Ascii(0x0110,
                                                                         "\xC3\x9C"
                                                                         "ber")})
                                  .ExifIfd({test::Undefined(
                                      0x9286, std::string("ASCII\0\0\0", 8) + "D\xFCsseldorf")})
                                  .Build())
                    .Scan()
                    .Build());
  CliRun run = RunCli({"show", "--json", photo});
  ASSERT_EQ(run.status, 0) << run.err;
  json report;
  ASSERT_NO_THROW(report = json::parse(run.out).at(0)) << "not valid UTF-8 JSON";
  EXPECT_EQ(report["fields"]["make"], "Caf\xC3\xA9");
  EXPECT_EQ(report["fields"]["model"],
            "\xC3\x9C"
            "ber");  // valid UTF-8 stays as it is
  EXPECT_EQ(report["fields"]["comment"], "D\xC3\xBCsseldorf");
  EXPECT_EQ(report["tags"][row::kMake]["value"], "Caf\xC3\xA9");
  EXPECT_TRUE(EndsWith(report["file"].get<std::string>(), "caf\xC3\xA9.jpg"));

  CliRun text = RunCli({"show", photo});
  EXPECT_EQ(text.status, 0);
  EXPECT_TRUE(EndsWith(LineStarting(text.out, "制造商:"), "Caf\xC3\xA9"));
}

TEST(PhotoReport, DisplayWidthCountsWideCharactersTwice) {
  const std::vector<std::pair<std::string, std::size_t>> cases = {
      {"", 0},
      {"Canon", 5},
      {"制造商:", 7},
      {"ISO值:", 6},
      {"Caf\xC3\xA9", 4},                  // a two-byte character is one column
      {"\xEF\xBC\xA1", 2},                 // a full-width Latin letter
      {"1. \xE6\x89\x8B\xE5\x8B\x95", 7},  // "1. 手動"
  };
  for (const auto& [text, width] : cases) EXPECT_EQ(cli::DisplayWidth(text), width) << text;
}

}  // namespace
}  // namespace tagloom
