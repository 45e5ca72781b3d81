// Reading a photograph into the Session: where the block comes from (the
// photograph, its backup file or nowhere), what the person is told, and what
// the lamps, buttons, banner and fields show afterwards.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "editor/editor_support.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "support/recording_host.h"

namespace tagloom {
namespace {

using namespace test;

using SessionRead = SessionTest;

bool FieldsEmpty(const Session& session) {
  return std::all_of(session.txtExif.begin(), session.txtExif.end(),
                     [](const std::string& t) { return t.empty(); });
}

TEST_F(SessionRead, ThePhotographsOwnBlockIsFoundAmongOtherSegments) {
  const std::string little = CameraTiff("Canon"), big = CameraTiff("Canon", ByteOrder::kBig);
  const std::vector<std::pair<std::string, std::string>> layouts = {
      {"at the start", JpegBuilder().App1Exif(little).Scan().Build()},
      {"big-endian", JpegBuilder().App1Exif(big).Scan().Build()},
      {"after JFIF, ICC, Photoshop",
       JpegBuilder().App0Jfif().App2Icc().App13().App1Exif(little).Scan().Build()},
      {"after XMP", JpegBuilder().App1Xmp().App1Exif(little).Scan().Build()},
      {"without SOI", JpegBuilder().WithoutSoi().App1Exif(little).Scan().Build()}};
  dir.Write("old.Exif", BackupOf("Backup"));
  dir.Write("img_01.Exif", "not a backup at all");  // found, but not even opened
  for (const auto& [name, bytes] : layouts) {
    SCOPED_TRACE(name);
    Open(dir.Write("old.jpg", PhotoWithoutExif()));  // its lamps must go out
    const std::string path = dir.Write("img_01.jpg", bytes);
    Open(path);
    // A segment at the file's first byte cannot be backed up.
    EXPECT_EQ(On(session), std::string("loaded backup-found backup-lamp ") +
                               (name == "without SOI" ? "" : "backup-button ") +
                               "restore-button write-button");
    EXPECT_EQ(session.block.ExifSegmentOffset,
              static_cast<std::int64_t>(bytes.find(std::string("Exif\0\0", 6))) - 4);
    EXPECT_EQ(session.block.MotorolaOrder, name == "big-endian");
    EXPECT_EQ(session.txtExif[0], "Canon");
    EXPECT_EQ(session.txtExif[3], "(c) Ann Lee");
    EXPECT_EQ(session.txtExif[6], "2.8");
    EXPECT_EQ(session.ImageFileName, path);
    EXPECT_EQ(session.Text1, "img_01.jpg");
    EXPECT_TRUE(host.messages.empty());
  }
}

TEST_F(SessionRead, WithoutExifTheBackupIsShownOrElseTheBanner) {
  const std::string segment = ExifSegment(CameraTiff("Backup Cam", ByteOrder::kBig));
  // The editor's writer counts the marker in the length field: two bytes too many.
  const unsigned length =
      static_cast<unsigned char>(segment[2]) * 256u + static_cast<unsigned char>(segment[3]) + 2;
  const std::string writerSegment = segment.substr(0, 2) + static_cast<char>(length >> 8) +
                                    static_cast<char>(length & 0xFF) + segment.substr(4);
  struct Case {
    const char* name;
    std::string photo, backup;  // no backup file when "", a folder when "<folder>"
  };
  const std::vector<Case> cases = {
      {"JFIF only", PhotoWithoutExif(), BackupFile(segment)},
      {"backup written by the editor", PhotoWithoutExif(), BackupFile(writerSegment)},
      {"no backup", PhotoWithoutExif(), ""},
      {"backup name taken by a folder", PhotoWithoutExif(), "<folder>"},
      {"APP1 that is not Exif", JpegBuilder().Segment(0xE1, "Exig\0\0MM").Scan().Build(), ""},
      {"not a JPEG", "GIF89a and more bytes", ""},
      {"empty file", "", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir folder;
    Open(folder.Write("before.jpg", PhotoWithExif()));  // leaves fields and buttons behind
    if (c.backup == "<folder>") std::filesystem::create_directory(folder.File("img.Exif"));
    if (!c.backup.empty() && c.backup != "<folder>") folder.Write("img.Exif", c.backup);
    Open(folder.Write("img.jpg", c.photo));
    const bool shown = !c.backup.empty() && c.backup != "<folder>";
    EXPECT_EQ(On(session), shown ? "loaded from-backup backup-found read-lamp backup-lamp "
                                   "restore-button write-button"
                                 : "banner write-button");
    EXPECT_EQ(session.txtExif[0], shown ? "Backup Cam" : "");
    EXPECT_EQ(session.txtExif[4], shown ? "2008/05/30 15:56:01" : "");
    if (shown) {
      EXPECT_EQ(session.block.ExifSegmentOffset, 24);
      EXPECT_TRUE(session.block.MotorolaOrder);
    }
    EXPECT_EQ(session.Text1, "img.jpg");
    EXPECT_TRUE(host.messages.empty());
  }
}

TEST_F(SessionRead, DamagedBackupsAndMissingPhotographsAreToldOutsideBatchModeOnly) {
  const std::string header = BackupFile(""), segment = CameraSegment("Backup Cam");
  const std::string whole = BackupFile(segment);
  std::filesystem::create_directory(dir.File("folder.jpg"));
  dir.Write("img.jpg", PhotoWithoutExif());
  // The last two lie beside a missing photograph and a folder.
  const std::vector<std::string> backups = {
      "",
      header.substr(0, 12),
      "VANTORO EXIF BACKUP FILE" + segment,
      segment,
      header,
      header + "\xFF\xE0" + segment.substr(2),
      header + std::string("\xFF\xE1\x00\x01", 4) + segment.substr(4),
      whole.substr(0, whole.size() - 3),
      whole,
      whole};
  const std::string before = dir.Write("before.jpg", PhotoWithExif());
  for (bool batch : {false, true}) {
    for (std::size_t k = 0; k < backups.size(); ++k) {
      SCOPED_TRACE("case " + std::to_string(k) + (batch ? " in batch mode" : ""));
      const bool missing = k + 2 >= backups.size();
      const std::string name = !missing ? "img" : k + 1 == backups.size() ? "folder" : "absent";
      dir.Write(name + ".Exif", backups[k]);
      session.SetBatch(false);
      Open(before);
      session.SetBatch(batch);
      Open(dir.File(name + ".jpg"));
      EXPECT_EQ(host.messages.size(), batch ? 0u : 1u);
      if (!batch && !host.messages.empty()) {
        const Message& told = host.messages[0];
        const std::string folder = std::string(text::kNotRegularFile) + dir.File("folder.jpg");
        EXPECT_EQ(told.text, !missing ? std::string(text::kBackupDamaged)
                             : name == "folder" ? folder
                                                : std::string(text::kNoImageFile));
        EXPECT_EQ(told.title, missing ? text::kAppTitle : text::kBackupDamagedTitle);
        EXPECT_EQ(told.icon, MessageIcon::kNone);
        EXPECT_FALSE(told.question);
      }
      EXPECT_TRUE(FieldsEmpty(session));
      // The backup file was found, but not read. For a missing photograph the
      // banner keeps what it showed, and the name the last photograph.
      EXPECT_EQ(On(session), missing ? "backup-found backup-lamp restore-button"
                                     : "backup-lamp banner restore-button write-button");
      EXPECT_EQ(session.ImageFileName, missing ? before : dir.File("img.jpg"));
    }
  }
}

// Only the file name's own dot starts a backup name: two photographs of a
// folder "album.2024" must never share "album.Exif".
TEST_F(SessionRead, APhotographWithoutADotInItsNameHasNoBackup) {
  std::filesystem::create_directory(dir.File("album.2024"));
  dir.Write("album.Exif", BackupOf("Folder Cam"));
  Open(dir.Write("album.2024/IMG0001", PhotoWithoutExif()));
  EXPECT_EQ(session.BackupFileName, "");
  EXPECT_EQ(On(session), "banner write-button");
  EXPECT_EQ(session.Text1, "IMG0001");
  // Writing it is refused, and the folder's backup stays as it was.
  session.SetFieldText(0, "Edited");
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
  EXPECT_EQ(ReadFile(dir.File("album.Exif")), BackupOf("Folder Cam"));
}

// A folder, a device or a pipe is no photograph: it is refused at once (a
// pipe would otherwise be waited on for ever), and said to be what it is.
TEST_F(SessionRead, FoldersDevicesAndPipesAreRefusedAtOnce) {
  const std::string fifo = dir.File("pipe.jpg");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero"), dir.Path().string()}) {
    Open(path);
    ASSERT_EQ(host.messages.size(), 1u) << path;
    EXPECT_EQ(host.messages[0].text, std::string(text::kNotRegularFile) + path);
    EXPECT_FALSE(session.PhotoFound());
  }
}

TEST_F(SessionRead, KeptAreasSurviveOnlyPhotographsWithoutABlock) {
  Open(dir.Write("first.jpg", PhotoWithExif("Canon")));
  session.chkKeep = {true, false, true};
  dir.Write("bare.jpg", PhotoWithoutExif());
  for (const char* name : {"bare.jpg", "missing.jpg"}) {
    SCOPED_TRACE(name);
    Open(dir.File(name));
    EXPECT_EQ(session.txtExif[0], "Canon");
    EXPECT_EQ(session.txtExif[1], "EOS 40D");
    EXPECT_EQ(session.txtExif[3], "(c) Ann Lee");
    for (int field : {4, 5, 7, 11}) EXPECT_EQ(session.txtExif[field], "") << field;
  }
  // A block without model or copyright empties them whatever the boxes say.
  Open(dir.Write("third.jpg",
                 JpegBuilder()
                     .App1Exif(TiffBuilder().Ifd0({Ascii(0x010F, "Nikon")}).ExifIfd({}).Build())
                     .Scan()
                     .Build()));
  EXPECT_EQ(session.txtExif[0], "Nikon");
  EXPECT_EQ(session.txtExif[1], "");
  EXPECT_EQ(session.txtExif[3], "");
}

TEST_F(SessionRead, FieldsAndPickersShowTheDisplayForms) {
  const std::string ascii("ASCII\0\0\0", 8);
  struct Shown {
    Entry entry;
    int field;
    const char* text;
    int item = 0;  // for the fields with a picker: the item selected
  };
  // In this order, a number without a picker item follows one that selected an item.
  const std::vector<Shown> cases = {
      {Rational(0x829A, 10, 1250), 5, "1/125"},
      {Rational(0x829D, 28, 10), 6, "2.8"},
      {SRational(0x9204, -4, 6), 9, "-2/3"},
      {Rational(0x920A, 24, 1), 15, "24.0"},
      {Ascii(0x9003, "2001:05:12 14:30:00"), 4, "2001/05/12 14:30:00"},
      {Undefined(0x9286, ascii + "(Edit by Tagloom)Hi"), 13, "Hi"},
      {Undefined(0x927C, "\x0A\x1B"), 12, "0A1B"},
      {Undefined(0x9286, ascii + "\xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0"), 13, "版权所有"},  // GB2312
      {Undefined(0x9286, ascii + "W\xF6rdehoff"), 13, "W\xC3\xB6rdehoff"},            // Latin-1
      {Short(0x8827, 400), 8, "400"},
      {Short(0x8822, 2), 7, "2", 2},
      {Short(0x8822, 9), 7, "9", -1},
      {Short(0x9207, 5), 14, "5", 5},
      {Short(0x9207, 255), 14, "255", -1},
      {Short(0x9209, 1), 11, "1", 1},
      {Short(0x9209, 16), 11, "16", -1},
      {Short(0x8827, 100), 14, "", 0}};
  for (ByteOrder order : {ByteOrder::kLittle, ByteOrder::kBig}) {
    for (const Shown& c : cases) {
      SCOPED_TRACE(c.text);
      // The ISO and bias pickers go back to their empty item whatever the block holds.
      session.SelectPicker(Picker::kCombo3, 4);
      session.SelectPicker(Picker::kCombo4, 6);
      const std::string tiff = TiffBuilder(order).Ifd0({}).ExifIfd({c.entry}).Build();
      Open(dir.Write("shown.jpg", JpegBuilder().App1Exif(tiff).Scan().Build()));
      EXPECT_EQ(session.txtExif[c.field], c.text);
      EXPECT_EQ(session.Combo3, 0);
      EXPECT_EQ(session.Combo4, 0);
      EXPECT_EQ(c.field == 7    ? session.Combo1
                : c.field == 14 ? session.Combo2
                : c.field == 11 ? session.OptFlash
                                : 0,
                c.item);
    }
  }
  // A picker never takes an item it does not have, nor writes one.
  for (const auto& [picker, item] :
       {std::pair{Picker::kCombo3, 10}, {Picker::kCombo3, 99}, {Picker::kCombo4, 18},
        {Picker::kCombo1, 9}, {Picker::kOptFlash, 2}, {Picker::kCombo2, -2}}) {
    const std::array<std::string, kFieldCount> fields = session.txtExif;
    const int selected = session.Selected(picker);
    session.SelectPicker(picker, item);
    EXPECT_EQ(session.Selected(picker), selected) << item;
    EXPECT_TRUE(session.txtExif == fields) << item;
  }
}

}  // namespace
}  // namespace tagloom

namespace tagloom {
namespace {

// Ticking batch mode shows the backup button; unticking gives it back the
// state the photograph on show gave it.
TEST_F(SessionTest, TheBatchBoxShowsTheBackupButtonOnlyWhileTicked) {
  for (bool ownBlock : {true, false}) {
    Open(dir.Write("img.jpg", ownBlock ? JpegBuilder().App1Exif(CameraTiff("Canon")).Scan().Build()
                                       : PhotoWithoutExif()));
    session.SetBatch(true);
    EXPECT_TRUE(session.cmdBackup.visible);
    session.SetBatch(false);
    EXPECT_EQ(session.cmdBackup.visible, ownBlock);
  }
}

}  // namespace
}  // namespace tagloom
