// Reading a photograph into the Session: where the EXIF block comes from (the
// photograph, its backup file or nowhere), what the person is told, and what
// the lamps, buttons, banner and fields show afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "editor/session.h"
#include "editor/texts.h"
#include "support/fixture_builder.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using test::Ascii;
using test::ByteOrder;
using test::JpegBuilder;
using test::Rational;
using test::Short;
using test::TiffBuilder;

// A camera block; `make` tells the photograph's own block from a backup's.
std::string CameraTiff(const std::string& make, ByteOrder order = ByteOrder::kLittle) {
  return TiffBuilder(order)
      .Ifd0({Ascii(0x010F, make), Ascii(0x0110, "EOS 40D"), Ascii(0x8298, "(c) Ann Lee")})
      .ExifIfd({Rational(0x829A, 1, 60), Rational(0x829D, 28, 10), Short(0x8827, 2),
                Ascii(0x9003, "2008:05:30 15:56:01"), Short(0x9209, 1)})
      .Build();
}

std::string PhotoWithExif(const std::string& make = "Canon") {
  return JpegBuilder().App0Jfif().App1Exif(CameraTiff(make)).Scan().Build();
}

std::string PhotoWithoutExif() {
  return JpegBuilder().App0Jfif().Scan().Build();
}

std::string ValidBackup(const std::string& make = "Backup Cam") {
  return test::BackupFile(test::ExifSegment(CameraTiff(make)));
}

bool AllFieldsEmpty(const Session& session) {
  for (const std::string& text : session.txtExif) {
    if (!text.empty()) return false;
  }
  return true;
}

// Exactly one message was shown: OK only, no icon, this text and title.
void ExpectToldOnce(const test::RecordingHost& host, std::string_view text,
                    std::string_view title) {
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, text);
  EXPECT_EQ(host.messages[0].title, title);
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kNone);
  EXPECT_FALSE(host.messages[0].question);
}

class SessionRead : public ::testing::Test {
 protected:
  void Open(const std::string& path) {
    session.Text1 = path;
    session.GetExifData();
  }

  test::TempDir dir;
  test::RecordingHost host;
  Session session{host};
};

TEST_F(SessionRead, APhotographWithExifAtItsStartIsReadFromItself) {
  for (ByteOrder order : {ByteOrder::kLittle, ByteOrder::kBig}) {
    std::string tiff = CameraTiff("Canon", order);
    std::string path = dir.Write("img_01.jpg", JpegBuilder().App1Exif(tiff).Scan().Build());
    Open(path);

    EXPECT_TRUE(session.ExifLoaded);
    EXPECT_FALSE(session.ExifFromBackup);
    EXPECT_EQ(session.block.ExifSegmentOffset, 2);
    EXPECT_EQ(session.block.ExifSegmentLength,
              static_cast<std::int64_t>(test::ExifSegment(tiff).size()) - 2);
    EXPECT_EQ(session.block.MotorolaOrder, order == ByteOrder::kBig);
    EXPECT_EQ(session.txtExif[0], "Canon");
    EXPECT_EQ(session.txtExif[3], "(c) Ann Lee");
    EXPECT_EQ(session.txtExif[6], "2.8");
    EXPECT_TRUE(session.cmdBackup.visible);
    EXPECT_TRUE(session.cmdExifWrite.enabled);
    EXPECT_FALSE(session.labNoExif.visible);
    EXPECT_FALSE(session.cmdRestore.visible);
    EXPECT_FALSE(session.BackupAvailable);
    EXPECT_FALSE(session.imgBackupLit);
    EXPECT_FALSE(session.imgReadLit);
    EXPECT_EQ(session.ImageFileName, path);
    EXPECT_EQ(session.Text1, "img_01.jpg");
    EXPECT_EQ(session.BackupFileName, dir.File("img_01.Exif"));
    EXPECT_TRUE(host.messages.empty());
  }
}

TEST_F(SessionRead, TheExifSegmentIsFoundAmongOtherHeaderSegments) {
  struct Layout {
    const char* name;
    std::string bytes;
    bool backupButton;  // only a segment after the first byte can be backed up
  };
  const std::string tiff = CameraTiff("Canon");
  const std::vector<Layout> layouts = {
      {"JFIF APP0 first", JpegBuilder().App0Jfif().App1Exif(tiff).Scan().Build(), true},
      {"ICC profile first", JpegBuilder().App2Icc().App1Exif(tiff).Scan().Build(), true},
      {"XMP APP1 first", JpegBuilder().App1Xmp().App1Exif(tiff).Scan().Build(), true},
      {"JFIF, ICC and Photoshop first",
       JpegBuilder().App0Jfif().App2Icc().App13().App1Exif(tiff).Scan().Build(), true},
      // Data beyond 32,767 bytes must not be skipped with a 16-bit count.
      {"APP0 of 40000 bytes first", JpegBuilder().App0(40000).App1Exif(tiff).Scan().Build(), true},
      {"fill byte before the marker", JpegBuilder().Raw("\xFF").App1Exif(tiff).Scan().Build(),
       true},
      {"no start of image", JpegBuilder().WithoutSoi().App1Exif(tiff).Scan().Build(), false},
  };
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(layout.name);
    Open(dir.Write("photo.jpg", layout.bytes));
    // The APP1 marker stands right before its length and "Exif" 00 00.
    const auto marker =
        static_cast<std::int64_t>(layout.bytes.find(std::string("Exif\0\0", 6))) - 4;
    EXPECT_TRUE(session.ExifLoaded);
    EXPECT_EQ(session.block.ExifSegmentOffset, marker);
    EXPECT_EQ(session.txtExif[0], "Canon");
    EXPECT_EQ(session.txtExif[5], "1/60");
    EXPECT_EQ(session.cmdBackup.visible, layout.backupButton);
    EXPECT_FALSE(session.labNoExif.visible);
    EXPECT_TRUE(session.cmdExifWrite.enabled);
  }
}

TEST_F(SessionRead, APhotographWithoutExifAndWithoutBackupShowsTheBanner) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"JFIF only", PhotoWithoutExif()},
      {"no header segment", JpegBuilder().Scan().Build()},
      {"XMP APP1 only", JpegBuilder().App1Xmp().Scan().Build()},
      {"APP1 that is not Exif", JpegBuilder().Segment(0xE1, "Exig\0\0MM").Scan().Build()},
      {"not a JPEG", "GIF89a and more bytes"},
      {"empty file", ""},
  };
  std::filesystem::create_directory(dir.File("photo.Exif"));  // a folder is no backup
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The photograph before left its fields, offset and buttons behind.
    Open(dir.Write("before.jpg", PhotoWithExif()));
    ASSERT_TRUE(session.cmdBackup.visible);
    Open(dir.Write("photo.jpg", c.bytes));

    EXPECT_FALSE(session.ExifLoaded);
    EXPECT_FALSE(session.ExifFromBackup);
    EXPECT_FALSE(session.BackupAvailable);
    EXPECT_TRUE(session.labNoExif.visible);
    EXPECT_TRUE(session.cmdExifWrite.enabled);
    EXPECT_FALSE(session.cmdBackup.visible);
    EXPECT_FALSE(session.cmdRestore.visible);
    EXPECT_FALSE(session.imgBackupLit);
    EXPECT_FALSE(session.imgReadLit);
    EXPECT_TRUE(AllFieldsEmpty(session));
    EXPECT_EQ(session.Text1, "photo.jpg");
    EXPECT_EQ(session.ImageFileName, dir.File("photo.jpg"));
    EXPECT_TRUE(host.messages.empty());
  }
}

TEST_F(SessionRead, APhotographWithoutExifShowsItsValidBackup) {
  struct Case {
    const char* name;
    std::string photo;
    std::string backup;
  };
  std::string segment = test::ExifSegment(CameraTiff("Backup Cam", ByteOrder::kBig));
  // The writer counts the marker in the length field, so its backups end two
  // bytes before the length says.
  std::string writerSegment = segment;
  const unsigned length =
      (static_cast<unsigned char>(segment[2]) << 8 | static_cast<unsigned char>(segment[3])) + 2;
  writerSegment[2] = static_cast<char>(length >> 8);
  writerSegment[3] = static_cast<char>(length & 0xFF);
  const std::vector<Case> cases = {
      {"JFIF photograph", PhotoWithoutExif(), test::BackupFile(segment)},
      {"XMP-only photograph", JpegBuilder().App1Xmp().Scan().Build(), test::BackupFile(segment)},
      {"backup written by the editor", PhotoWithoutExif(), test::BackupFile(writerSegment)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write("img.Exif", c.backup);
    Open(dir.Write("img.jpg", c.photo));

    EXPECT_TRUE(session.ExifLoaded);
    EXPECT_TRUE(session.ExifFromBackup);
    EXPECT_TRUE(session.BackupAvailable);
    EXPECT_EQ(session.txtExif[0], "Backup Cam");
    EXPECT_EQ(session.txtExif[4], "2008/05/30 15:56:01");
    EXPECT_EQ(session.block.ExifSegmentOffset, 24);
    EXPECT_TRUE(session.block.MotorolaOrder);
    EXPECT_TRUE(session.imgReadLit);
    EXPECT_TRUE(session.imgBackupLit);
    EXPECT_TRUE(session.cmdRestore.visible);
    EXPECT_FALSE(session.cmdBackup.visible);
    EXPECT_TRUE(session.cmdExifWrite.enabled);
    EXPECT_FALSE(session.labNoExif.visible);
    EXPECT_TRUE(host.messages.empty());
  }
}

TEST_F(SessionRead, APhotographWithExifIsReadFromItselfEvenBesideABackup) {
  // The backup is not even opened, so its damage goes unnoticed.
  dir.Write("img.Exif", "not a backup at all");
  Open(dir.Write("img.jpg", PhotoWithExif("Canon")));

  EXPECT_EQ(session.txtExif[0], "Canon");
  EXPECT_FALSE(session.ExifFromBackup);
  EXPECT_FALSE(session.imgReadLit);
  EXPECT_TRUE(session.BackupAvailable);
  EXPECT_TRUE(session.imgBackupLit);
  EXPECT_TRUE(session.cmdRestore.visible);
  EXPECT_TRUE(session.cmdBackup.visible);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SessionRead, DamagedBackupsAreReportedOutsideBatchModeAndNeverRead) {
  struct Case {
    const char* name;
    std::string backup;
  };
  const std::string header(test::BackupFile(""));
  const std::string segment = test::ExifSegment(CameraTiff("Backup Cam"));
  const std::string whole = test::BackupFile(segment);
  const std::vector<Case> cases = {
      {"empty file", ""},
      {"shorter than the header", header.substr(0, 12)},
      {"header in capitals", "VANTORO EXIF BACKUP FILE" + segment},
      {"segment without the header", segment},
      {"header alone", header},
      {"header followed by FF E0", header + "\xFF\xE0" + segment.substr(2)},
      {"length field below 2", header + std::string("\xFF\xE1\x00\x01", 4) + segment.substr(4)},
      {"segment three bytes short", whole.substr(0, whole.size() - 3)},
  };
  for (bool batch : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (batch ? " (batch)" : ""));
      host.messages.clear();
      session.chkBatch = batch;
      session.SetFieldText(0, "left over");
      dir.Write("img.Exif", c.backup);
      Open(dir.Write("img.jpg", PhotoWithoutExif()));

      if (batch) {
        EXPECT_TRUE(host.messages.empty());
      } else {
        ExpectToldOnce(host, text::kBackupDamaged, text::kBackupDamagedTitle);
      }
      EXPECT_FALSE(session.BackupAvailable);
      EXPECT_FALSE(session.ExifLoaded);
      EXPECT_FALSE(session.ExifFromBackup);
      EXPECT_TRUE(AllFieldsEmpty(session));
      EXPECT_TRUE(session.labNoExif.visible);
      EXPECT_TRUE(session.cmdExifWrite.enabled);
      EXPECT_FALSE(session.cmdBackup.visible);
      EXPECT_FALSE(session.imgReadLit);
      // The probe found the file: lamp and restore button stay as it left them.
      EXPECT_TRUE(session.imgBackupLit);
      EXPECT_TRUE(session.cmdRestore.visible);
    }
  }
}

TEST_F(SessionRead, AMissingPhotographIsReportedAndNothingIsRead) {
  struct Case {
    const char* name;
    std::string path;
  };
  std::filesystem::create_directory(dir.File("folder.jpg"));
  dir.Write("folder.Exif", ValidBackup());
  dir.Write("absent.Exif", ValidBackup());
  const std::vector<Case> cases = {
      {"missing file", dir.File("absent.jpg")},
      {"folder", dir.File("folder.jpg")},
  };
  const std::string before = dir.Write("before.jpg", PhotoWithExif());
  for (bool batch : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (batch ? " (batch)" : ""));
      session.chkBatch = false;
      Open(before);
      ASSERT_TRUE(session.ExifLoaded);
      host.messages.clear();
      session.chkBatch = batch;
      Open(c.path);

      if (batch) {
        EXPECT_TRUE(host.messages.empty());
      } else {
        ExpectToldOnce(host, text::kNoImageFile, text::kAppTitle);
      }
      EXPECT_FALSE(session.ExifLoaded);
      EXPECT_FALSE(session.ExifFromBackup);
      EXPECT_TRUE(AllFieldsEmpty(session));
      EXPECT_FALSE(session.cmdExifWrite.enabled);
      EXPECT_FALSE(session.cmdBackup.visible);
      // The box keeps the path, the banner what it showed, the name the last photograph.
      EXPECT_EQ(session.Text1, c.path);
      EXPECT_FALSE(session.labNoExif.visible);
      EXPECT_EQ(session.ImageFileName, before);
      // The backup beside it was probed, but not read.
      EXPECT_TRUE(session.BackupAvailable);
      EXPECT_TRUE(session.imgBackupLit);
      EXPECT_TRUE(session.cmdRestore.visible);
      EXPECT_FALSE(session.imgReadLit);
    }
  }
}

TEST_F(SessionRead, TheBackupNameIsCutAtTheLastDotOfTheWholePath) {
  std::filesystem::create_directory(dir.File("my.pics"));
  dir.Write("my.Exif", ValidBackup("Folder Cam"));
  const std::string path = dir.Write("my.pics/img01", PhotoWithoutExif());
  Open(path);

  EXPECT_EQ(session.BackupFileName, dir.File("my.Exif"));
  EXPECT_TRUE(session.ExifFromBackup);
  EXPECT_EQ(session.txtExif[0], "Folder Cam");
  EXPECT_EQ(session.Text1, "img01");
  EXPECT_EQ(session.ImageFileName, path);
}

// Makes a folder the current one for the life of the object.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

TEST_F(SessionRead, APathWithoutAnyDotHasNoBackup) {
  // A relative name is the only path sure to hold no "." whatever the
  // temporary folder is called.
  CurrentFolder inside(dir.Path());
  for (const char* name : {"img01.Exif", "img01Exif", ".Exif", "Exif"})
    dir.Write(name, ValidBackup());
  dir.Write("img01", PhotoWithoutExif());
  dir.Write("img02", PhotoWithExif("Canon"));

  Open("img01");
  EXPECT_EQ(session.BackupFileName, "");
  EXPECT_FALSE(session.BackupAvailable);
  EXPECT_FALSE(session.ExifLoaded);
  EXPECT_FALSE(session.ExifFromBackup);
  EXPECT_FALSE(session.imgBackupLit);
  EXPECT_FALSE(session.cmdRestore.visible);
  EXPECT_TRUE(session.labNoExif.visible);
  EXPECT_TRUE(AllFieldsEmpty(session));
  EXPECT_TRUE(host.messages.empty());

  Open("img02");
  EXPECT_EQ(session.BackupFileName, "");
  EXPECT_TRUE(session.ExifLoaded);
  EXPECT_EQ(session.txtExif[0], "Canon");
  EXPECT_EQ(session.Text1, "img02");
  EXPECT_EQ(session.ImageFileName, "img02");
}

// --- Reset and the keep boxes ------------------------------------------------------

TEST_F(SessionRead, KeptAreasSurviveOnlyPhotographsWithoutExif) {
  Open(dir.Write("first.jpg", PhotoWithExif("Canon")));
  ASSERT_EQ(session.txtExif[3], "(c) Ann Lee");
  ASSERT_EQ(session.txtExif[0], "Canon");
  session.chkKeep = {true, false, true};

  // No block anywhere: areas 0 and 2 keep their texts, area 1 is emptied.
  for (const char* name : {"bare.jpg", "missing.jpg"}) {
    SCOPED_TRACE(name);
    if (std::string(name) == "bare.jpg") dir.Write(name, PhotoWithoutExif());
    Open(dir.File(name));
    EXPECT_EQ(session.txtExif[0], "Canon");
    EXPECT_EQ(session.txtExif[1], "EOS 40D");
    EXPECT_EQ(session.txtExif[3], "(c) Ann Lee");
    EXPECT_EQ(session.txtExif[4], "");
    EXPECT_EQ(session.txtExif[5], "");
    EXPECT_EQ(session.txtExif[7], "");
    EXPECT_EQ(session.txtExif[11], "");
  }

  // A block without copyright or model empties them whatever the boxes say.
  std::string tiff =
      TiffBuilder().Ifd0({Ascii(0x010F, "Nikon")}).ExifIfd({Rational(0x829A, 1, 250)}).Build();
  Open(dir.Write("second.jpg", JpegBuilder().App1Exif(tiff).Scan().Build()));
  EXPECT_EQ(session.txtExif[0], "Nikon");
  EXPECT_EQ(session.txtExif[1], "");
  EXPECT_EQ(session.txtExif[3], "");
  EXPECT_EQ(session.txtExif[5], "1/250");

  // So does a block read from a backup.
  Open(dir.Write("first.jpg", PhotoWithExif("Canon")));
  dir.Write("third.Exif", test::BackupFile(test::ExifSegment(tiff)));
  Open(dir.Write("third.jpg", PhotoWithoutExif()));
  ASSERT_TRUE(session.ExifFromBackup);
  EXPECT_EQ(session.txtExif[0], "Nikon");
  EXPECT_EQ(session.txtExif[1], "");
  EXPECT_EQ(session.txtExif[3], "");
}

TEST_F(SessionRead, ClearAreaEmptiesTheFieldsOfOneAreaAndIgnoresOtherNumbers) {
  auto fill = [&] {
    for (int i = 0; i < kFieldCount; ++i) session.SetFieldText(i, "text " + std::to_string(i));
  };
  fill();
  for (int area : {3, -1, 100, -32768}) {
    session.ClearArea(area);
    for (int i = 0; i < kFieldCount; ++i)
      EXPECT_EQ(session.txtExif[i], "text " + std::to_string(i));
  }
  const std::vector<std::vector<int>> areaFields = {
      {0, 1, 2, 12}, {4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15}, {3}};
  for (int area = 0; area < kAreaCount; ++area) {
    SCOPED_TRACE(area);
    fill();
    session.ClearArea(area);
    const std::vector<int>& fields = areaFields[static_cast<std::size_t>(area)];
    for (int i = 0; i < kFieldCount; ++i) {
      bool cleared = std::find(fields.begin(), fields.end(), i) != fields.end();
      EXPECT_EQ(session.txtExif[i], cleared ? "" : "text " + std::to_string(i)) << i;
    }
  }
}

TEST_F(SessionRead, OnlyResetHidesTheRestoreButton) {
  session.cmdRestore.visible = true;
  session.BackupAvailable = false;
  session.ExifFromBackup = false;
  session.chkBackup();
  session.chkRead();
  EXPECT_TRUE(session.cmdRestore.visible);
  EXPECT_FALSE(session.imgBackupLit);
  EXPECT_FALSE(session.imgReadLit);

  session.BackupAvailable = true;
  session.ExifFromBackup = true;
  session.chkBackup();
  session.chkRead();
  EXPECT_TRUE(session.imgBackupLit);
  EXPECT_TRUE(session.imgReadLit);

  session.cmdBackup.visible = true;
  session.cmdExifWrite.enabled = true;
  session.Reset();
  EXPECT_FALSE(session.cmdRestore.visible);
  EXPECT_FALSE(session.cmdBackup.visible);
  EXPECT_FALSE(session.cmdExifWrite.enabled);
  EXPECT_FALSE(session.BackupAvailable);
  EXPECT_FALSE(session.ExifFromBackup);
  EXPECT_FALSE(session.imgBackupLit);
  EXPECT_FALSE(session.imgReadLit);
}

TEST_F(SessionRead, TheNextPhotographPutsOutTheLampsOfTheLastOne) {
  dir.Write("old.Exif", ValidBackup());
  Open(dir.Write("old.jpg", PhotoWithoutExif()));
  ASSERT_TRUE(session.imgReadLit && session.imgBackupLit && session.cmdRestore.visible);

  Open(dir.Write("new.jpg", PhotoWithExif("Canon")));
  EXPECT_FALSE(session.imgReadLit);
  EXPECT_FALSE(session.imgBackupLit);
  EXPECT_FALSE(session.cmdRestore.visible);
  EXPECT_FALSE(session.ExifFromBackup);
  EXPECT_FALSE(session.BackupAvailable);
  EXPECT_EQ(session.txtExif[0], "Canon");
}

// --- DrawImage -----------------------------------------------------------------

// Notes what the Session held at the moment the preview was asked for.
class PeekingHost : public test::RecordingHost {
 public:
  const Session* session = nullptr;
  std::vector<std::string> imageNamesAtPreview;

  bool LoadPreview(const std::string& path) override {
    imageNamesAtPreview.push_back(session->ImageFileName);
    return RecordingHost::LoadPreview(path);
  }
};

TEST(SessionDrawImage, LoadsThePreviewBeforeReadingAndRecordsTheBackupButton) {
  test::TempDir dir;
  PeekingHost host;
  Session session(host);
  host.session = &session;
  const std::string withExif = dir.Write("a.jpg", PhotoWithExif());
  const std::string without = dir.Write("b.jpg", PhotoWithoutExif());
  const std::string atFirstByte =
      dir.Write("c.jpg", JpegBuilder().WithoutSoi().App1Exif(CameraTiff("Canon")).Scan().Build());

  session.Text1 = withExif;
  session.DrawImage();
  EXPECT_TRUE(session.BackupButtonShown);

  // Batch mode shows the backup button, but each load decides it anew.
  session.chkBatch = true;
  session.cmdBackup.visible = true;
  session.Text1 = without;
  session.DrawImage();
  EXPECT_FALSE(session.BackupButtonShown);
  EXPECT_FALSE(session.cmdBackup.visible);

  session.Text1 = atFirstByte;
  session.DrawImage();
  EXPECT_TRUE(session.ExifLoaded);
  EXPECT_FALSE(session.BackupButtonShown);

  EXPECT_EQ(host.previews, (std::vector<std::string>{withExif, without, atFirstByte}));
  EXPECT_EQ(host.imageNamesAtPreview, (std::vector<std::string>{"", withExif, without}));
  EXPECT_EQ(session.ImageFileName, atFirstByte);
}

}  // namespace
}  // namespace tagloom
