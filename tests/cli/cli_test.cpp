// tagloom-cli run as a child process, the way a script runs it: standard input
// is no terminal, so only --yes answers Yes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "editor/texts.h"
#include "model/catalogue.h"
#include "support/differences.h"
#include "support/fixture_builder.h"
#include "support/jpeg_layout.h"
#include "support/oracle.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using nlohmann::json;
using namespace test;

struct CliRun {
  int status;
  std::string out, err;
  bool Says(std::string_view text) const { return err.find(text) != std::string::npos; }
};

CliRun RunCli(const std::vector<std::string>& args, const std::string& redirect = "") {
  TempDir errors;
  std::string command = ShellQuoted(TAGLOOM_CLI);
  for (const std::string& arg : args) command += " " + ShellQuoted(arg);
  CommandResult run =
      RunCommand(command + " 2>" + ShellQuoted(errors.File("err")) + " </dev/null" + redirect);
  return {run.status, run.output, ReadFile(errors.File("err"))};
}

std::string Photo(const std::string& name) {
  return (PhotosDir() / name).string();
}

std::string TiffOfMake(const std::string& make) {
  return TiffBuilder().Ifd0({Ascii(0x010F, make)}).ExifIfd({}).Build();
}

std::string Tag(const std::string& path, const char* group, const char* name) {
  return FindTag(ExiftoolTags(path), group, name).value_or(ExiftoolTag{}).value;
}

// JSON for scripts keeps every value whole (control characters as JSON escapes);
// the text for people escapes them and shortens long maker notes; a backup
// beside a photograph without EXIF is shown, a damaged one reported; a missing
// photograph is reported, the others are still printed, and the exit status is 1;
// all in the order given.
TEST(CliShow, JsonForScriptsTextForPeople) {
  TempDir dir;
  const std::string noExif = JpegBuilder().App0Jfif().Scan().Build();
  const std::string fromBackup = dir.Write("trip.day1.jpg", noExif);
  dir.Write("trip.day1.Exif", BackupFile(ExifSegment(TiffOfMake("Backup Maker"))));
  const std::string damaged = dir.Write("damaged.jpg", noExif);
  dir.Write("damaged.Exif", "Not a backup file at all");
  const std::string evil = dir.Write(
      "evil.jpg", JpegBuilder().App1Exif(TiffOfMake("Evil\x1B[2J\x07Maker")).Scan().Build());
  const std::string konica = Photo("Konica_Minolta_DiMAGE_Z3.jpg");
  // 30-type_error.jpg's Exif pointer, read as text, holds control and non-UTF-8 bytes.
  CliRun run = RunCli({"show", "--json", Photo("Canon_40D.jpg"), Photo("olympus-d320l.jpg"),
                       Photo("30-type_error.jpg"), fromBackup, damaged, dir.File("missing.jpg"),
                       evil, konica});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.Says("missing.jpg") && run.Says(text::kNoImageFile)) << run.err;
  const json reports = json::parse(run.out);
  ASSERT_EQ(reports.size(), 7u);
  std::string sources;
  for (const json& report : reports) sources += report["source"].get<std::string>() + " ";
  EXPECT_EQ(sources, "photo none photo backup none photo photo ");
  const json& canon = reports[0];
  EXPECT_EQ(canon["fields"]["exposure_time"], "1/160");
  EXPECT_EQ(canon["tags"][row::kFNumber]["value"], "71/10");
  EXPECT_TRUE(reports[1]["unused"].empty() && !canon["unused"].empty());
  EXPECT_EQ(reports[3]["backup_exists"], true);
  EXPECT_EQ(reports[3]["fields"]["make"], "Backup Maker");
  EXPECT_TRUE(run.Says("damaged.jpg") && run.Says(text::kBackupDamaged)) << run.err;
  EXPECT_EQ(reports[5]["fields"]["make"], "Evil\x1B[2J\x07Maker");
  EXPECT_EQ(reports[6]["fields"]["maker_note"].get<std::string>().size(), 2u * 33270);
  // Hundreds of photographs, read by several readers at once, print in order.
  std::vector<std::string> many = {"show", "--json"};
  for (int k = 0; k < 600; ++k) many.push_back(k % 3 ? evil : fromBackup);
  const json all = json::parse(RunCli(many).out);
  ASSERT_EQ(all.size(), 600u);
  for (std::size_t k = 0; k < all.size(); ++k) {
    ASSERT_EQ(all[k]["source"], k % 3 ? "photo" : "backup") << k;
  }

  const CliRun people = RunCli({"show", evil, konica});
  EXPECT_EQ(people.status, 0) << people.err;
  EXPECT_EQ(people.out.find('\x1B'), std::string::npos);
  EXPECT_NE(people.out.find("Evil\\x1B[2J\\x07Maker"), std::string::npos) << people.out;
  EXPECT_NE(people.out.find("\u2026 (33,270 bytes)"), std::string::npos);
  EXPECT_EQ(RunCli({"show", konica}, " >/dev/full").status, 1) << "a report that cannot be written";
  EXPECT_EQ(json::parse(RunCli({"show", "--json", dir.File("missing.jpg")}).out), json::array());
  const CliRun usage = RunCli({"show", "--bogus", konica});
  EXPECT_EQ(usage.status, 2);
  EXPECT_NE(usage.err, "");
  const CliRun version = RunCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "tagloom-cli 3.0.3002\n");
}

// Only --yes writes; a refusal exits 1 and changes no file. Messages escape the
// control characters of file names; a date the conversion cannot read is
// refused rather than written as 1999:01:01, the EXIF form is read.
TEST(CliWrite, OnlyYesWritesRefusalsExitWithOneAndSeveralPhotographsAreOneBatch) {
  TempDir dir;
  const std::string photo = dir.Write("odd\x1B[2Jname.jpg", ReadFile(Photo("Canon_40D.jpg")));
  const std::string before = ReadFile(photo);
  EXPECT_EQ(RunCli({"set", photo, "--make", "Tagloom CLI"}).status, 3);
  const CliRun tooLarge = RunCli({"set", photo, "--iso", "70000", "--yes"});
  EXPECT_EQ(tooLarge.status, 1);
  EXPECT_TRUE(tooLarge.Says("ISO值:")) << tooLarge.err;
  const CliRun badDate = RunCli({"set", photo, "--date", "yesterday", "--yes"});
  EXPECT_EQ(badDate.status, 1);
  EXPECT_TRUE(badDate.Says(text::kDateFormatWrong) && badDate.Says("odd\\x1B[2Jname.jpg"))
      << badDate.err;
  EXPECT_EQ(RunCli({"restore", photo, "--yes"}).status, 1) << "no backup";
  EXPECT_TRUE(SameBytes(ReadFile(photo), before));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

  const CliRun done = RunCli({"set", photo, "--make", "Tagloom CLI", "--iso", "800", "--date",
                              "2001:02:28 10:00:00", "--yes"});
  EXPECT_EQ(done.status, 0) << done.err;
  EXPECT_EQ(done.err.find('\x1B'), std::string::npos) << "an unescaped control character";
  // Fields not given keep their values.
  EXPECT_EQ(Tag(photo, "IFD0", "Make") + "|" + Tag(photo, "ExifIFD", "ISO") + "|" +
                Tag(photo, "ExifIFD", "DateTimeOriginal") + "|" + Tag(photo, "IFD0", "Model"),
            "Tagloom CLI|800|2001:02:28 10:00:00|Canon EOS 40D");

  // Several photographs are one batch with a summary; one where every file is
  // missing has failed.
  const std::string a = photo, b = dir.Write("b.jpg", ReadFile(Photo("portrait_6.jpg"))),
                    c = dir.Write("c.jpg", ReadFile(Photo("olympus-d320l.jpg")));
  EXPECT_EQ(RunCli({"backup", a, b}).status, 3);
  EXPECT_FALSE(std::filesystem::exists(dir.File("b.Exif")));
  const CliRun run = RunCli({"backup", a, b, c, "--yes"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(
      run.Says("批量操作结果:\n  共处理文件:3\n  Exif信息:2\n    成功备份:2\n    备份失败:0\n"))
      << run.err;
  EXPECT_TRUE(run.Says(b + ": 已备份\n")) << run.err;
  EXPECT_TRUE(SameBytes(ReadFile(dir.File("b.Exif")), BackupFile(ExifSegmentOf(ReadFile(b)))));
  EXPECT_FALSE(std::filesystem::exists(dir.File("c.Exif")));
  EXPECT_EQ(RunCli({"backup", dir.File("gone1.jpg"), dir.File("gone2.jpg"), "--yes"}).status, 1);
}

// set on several photographs is a list write: a line per photograph, then
// the summary; one already holding the text is unchanged, a missing one makes
// the exit status 1. --dry-run writes nothing, not even a backup file. shift
// takes an offset beginning with '-' as given, and numbers dates backwards.
TEST(CliList, SetOnSeveralPhotographsAndShiftDates) {
  TempDir dir;
  const std::string a = dir.Write("a.jpg", ReadFile(Photo("Canon_40D.jpg"))),
                    b = dir.Write("b.jpg", ReadFile(Photo("portrait_6.jpg"))),
                    gone = dir.File("gone.jpg");
  const FolderContents before = Snapshot(dir.Path());
  const CliRun dry = RunCli({"set", a, b, gone, "--make", "Canon", "--dry-run"});
  EXPECT_EQ(dry.status, 1) << "a missing photograph";
  EXPECT_NE(dry.out.find(a + "\n  无需改变\n" + b + "\n  制造商: (空) → Canon\n"),
            std::string::npos)
      << dry.out;
  const json plan = json::parse(RunCli({"set", a, b, "--make", "Canon", "-n", "--json"}).out);
  EXPECT_EQ(plan[1]["changes"], json::parse(R"([{"field":"make","old":"","new":"Canon"}])"));
  EXPECT_EQ(plan[0]["changes"], json::array());
  EXPECT_EQ(plan[1]["not_kept"][0], "其他Exif条目(个): 5");
  const json keeping =
      json::parse(RunCli({"set", b, "--make", "Canon", "-n", "--json", "--keep-all"}).out);
  EXPECT_EQ(keeping[0]["kept"], json::parse(R"(["其他Exif条目(个): 5"])"));
  EXPECT_EQ(keeping[0]["not_kept"], json::array());
  EXPECT_EQ(RunCli({"set", a, b, "--make", "Canon"}).status, 3) << "not confirmed";
  EXPECT_TRUE(SameFolder(Snapshot(dir.Path()), before))
      << "a dry run or a declined write changed the folder";

  const CliRun run = RunCli({"set", a, b, gone, "--make", "Canon", "--json", "--yes"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(
      run.Says(a + ": 无需改变\n" + b + ": 已写入 (制造商 (空) → Canon)\n" + gone + ": 失败: ") &&
      run.Says("    写入失败:1"))
      << run.err;
  std::string outcomes;
  for (const json& photo : json::parse(run.out))
    outcomes += photo["outcome"].get<std::string>() + " ";
  EXPECT_EQ(outcomes, "unchanged written missing ");
  EXPECT_EQ(Tag(b, "IFD0", "Make"), "Canon");

  const CliRun shift = RunCli({"shift", "--by", "-0 02:00:00", "--dry-run", a});
  EXPECT_EQ(shift.status, 0) << shift.err;
  EXPECT_EQ(shift.out.rfind(a + "\n  拍摄日期: 2008/05/30 15:56:01 → 2008/05/30 13:56:01\n", 0), 0u)
      << shift.out;
  EXPECT_EQ(RunCli({"shift", "--by=-0 02:00:00", "-n", a}).out, shift.out);
  EXPECT_EQ(RunCli({"shift", "--step", "60", a}).status, 2) << "--step without --start";
  EXPECT_EQ(RunCli({"shift", "--start", "2020/01/02 03:04:05", "--step", "60", "--reverse", a, b,
                    "--yes"})
                .status,
            0);
  EXPECT_EQ(Tag(a, "ExifIFD", "DateTimeOriginal") + "|" + Tag(b, "ExifIFD", "DateTimeOriginal"),
            "2020:01:02 03:05:05|2020:01:02 03:04:05");
}

}  // namespace
}  // namespace tagloom

namespace tagloom {
namespace {

// What a script meets at the edges: values that cannot fit, options given
// nothing, a photograph named like an option, names and values that are not
// UTF-8 or hold a line feed, a date nobody can read; and what the command
// line refuses that the window would ask about.
TEST(CliEdges, UsageErrorsRefusalsAndOneJsonDocumentWhateverTheArguments) {
  TempDir dir;
  const std::string a = dir.Write("a.jpg", ReadFile(Photo("Canon_40D.jpg")));
  const std::string dash = dir.Write("-x.jpg", ReadFile(Photo("Canon_40D.jpg")));
  using Usage = std::pair<std::vector<std::string>, std::string>;  // the arguments, the option
  for (const auto& [args, option] :
       {Usage{{"shift", "--start", "2001/01/01 10:00:00", "--step", "9223372036854775807", a, a, a},
              "--step"},
        {{"shift", "--by", "+999999999 00:00:00", a}, "--by"},
        {{"shift", "--by=", a}, "--by"},
        {{"shift", "--start=", "--step", "60", a}, "--start"},
        {{"set", "--make=", a}, "--make"}}) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 2) << option << ": " << run.err;
    EXPECT_TRUE(run.Says(option)) << "names the option: " << run.err;
  }
  EXPECT_EQ(RunCli({"set", "--make", "Dash", "--yes", "--", dash}).status, 0);
  EXPECT_EQ(Tag(dash, "IFD0", "Make"), "Dash");

  // A date that cannot be read is refused photograph by photograph, in JSON too.
  const CliRun date = RunCli({"set", a, dash, "--date", "2001/02/30 10:00:00", "--json", "--yes"});
  EXPECT_EQ(date.status, 1);
  const json refused = json::parse(date.out);
  ASSERT_EQ(refused.size(), 2u);
  EXPECT_EQ(refused[0]["outcome"], "refused");
  EXPECT_NE(refused[0]["reason"].get<std::string>().find(text::kDateFormatWrong),
            std::string::npos);

  // Bytes that are not UTF-8, in a value and in a name, and a line feed in a
  // name: one valid JSON document, one line per photograph for people.
  const std::string odd = dir.Write("odd\xFF\nname.jpg", ReadFile(Photo("Canon_40D.jpg")));
  const CliRun plan = RunCli({"set", odd, a, "--make", "Maker\xFE", "-n", "--json"});
  const json parsed = json::parse(plan.out);  // throws on bytes that are not UTF-8
  EXPECT_EQ(parsed[0]["changes"][0]["new"], "Maker\u00FE");
  const CliRun people = RunCli({"set", odd, a, "--make", "Maker", "--yes"});
  EXPECT_TRUE(people.Says("odd\u00FF\\x0Aname.jpg: ")) << people.err;

  // IMG_1.jpg and IMG_1.thm share IMG_1.Exif: refused, naming the other.
  const std::string jpg = dir.Write("IMG_1.jpg", ReadFile(Photo("Canon_40D.jpg")));
  dir.Write("IMG_1.thm", ReadFile(Photo("Canon_40D.jpg")));
  const CliRun shared = RunCli({"set", jpg, "--make", "X", "--yes"});
  EXPECT_EQ(shared.status, 1);
  EXPECT_TRUE(shared.Says(text::kSharedBackupName) && shared.Says("IMG_1.thm")) << shared.err;
  EXPECT_EQ(Tag(jpg, "IFD0", "Make"), "Canon");
}

}  // namespace
}  // namespace tagloom

namespace tagloom {
namespace {

// show --csv of a folder, applied back unchanged; a shot log without file
// names (frame, ISO date, shutter, aperture, focal length, notes) applied in
// order to twelve scans writes exactly its values, as exiftool reads them.
TEST(CliTable, ARoundTripChangesNothingAndAShotLogWritesItsValues) {
  TempDir dir;
  std::vector<std::string> scans;
  for (int i = 1; i <= 12; ++i) {
    scans.push_back(
        dir.Write("scan_" + std::to_string(i) + ".jpg", ReadFile(Photo("Nikon_COOLPIX_P1.jpg"))));
  }
  const CliRun shown = RunCli({"show", "--csv", dir.Path().string()});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_TRUE(
      shown.out.starts_with("\xEF\xBB\xBF"
                            "file,make,model,"))
      << "UTF-8 with its mark";
  const std::string table = dir.Write("list.csv", shown.out);
  const CliRun back = RunCli({"apply", table, "--json", "--yes"});
  EXPECT_EQ(back.status, 0) << back.err;
  for (const json& photo : json::parse(back.out)) EXPECT_EQ(photo["outcome"], "unchanged");

  std::string log = "Frame,Date taken,Shutter speed,Aperture,Focal length,Notes,Lens\n";
  for (int i = 1; i <= 12; ++i) {
    log += std::to_string(i) + ",1998-07-14T10:" + (i < 10 ? "0" : "") + std::to_string(i) +
           ":00,1/" + std::to_string(i * 10) + "s,f/" + std::to_string(i) + ",50mm,frame " +
           std::to_string(i) + ",Nikkor\n";
  }
  std::vector<std::string> args = {"apply", dir.Write("log.csv", log), "--yes"};
  args.insert(args.end(), scans.begin(), scans.end());
  const CliRun applied = RunCli(args);
  ASSERT_EQ(applied.status, 0) << applied.err;
  std::string command =
      "exiftool -j -n -DateTimeOriginal -ExposureTime -FNumber -FocalLength "
      "-UserComment";
  for (const std::string& scan : scans) command += " " + ShellQuoted(scan);
  const json read = json::parse(RunCommand(command).output);
  ASSERT_EQ(read.size(), 12u);
  for (int i = 1; i <= 12; ++i) {
    const json& scan = read[static_cast<std::size_t>(i - 1)];
    SCOPED_TRACE(i);
    EXPECT_EQ(scan["DateTimeOriginal"],
              "1998:07:14 10:" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ":00");
    EXPECT_NEAR(scan["ExposureTime"].get<double>() * i * 10, 1.0, 1e-9);  // ten digits
    EXPECT_DOUBLE_EQ(scan["FNumber"].get<double>(), i);
    EXPECT_DOUBLE_EQ(scan["FocalLength"].get<double>(), 50);
    EXPECT_EQ(scan["UserComment"], "(Edit by Tagloom)frame " + std::to_string(i));
  }
}

}  // namespace
}  // namespace tagloom
