// Reading a photograph into the Session: where the block comes from (the
// photograph, its backup file or nowhere), what the person is told, and what
// the lamps, buttons, banner and fields show afterwards.
#include <sys/stat.h>

#include "editor/editor_support.h"

namespace tagloom {
namespace {

using namespace test;
using SessionRead = SessionTest;

// Where the block comes from: the photograph (among other segments, without
// a start of image), its backup file, or nowhere (the banner). What the
// photograph before left on the lamps and buttons goes. Ticking batch mode
// shows the backup button; unticking gives it back the state the photograph gave it.
// A kept area outlives only photographs without a block.
TEST_F(SessionRead, TheBlockComesFromThePhotographItsBackupOrNowhere) {
  const std::string tiff = CameraTiff("Canon", ByteOrder::kBig);
  const std::string own =
      "loaded backup-found backup-lamp backup-button restore-button write-button";
  const std::string fromBackup =
      "loaded from-backup backup-found read-lamp backup-lamp restore-button write-button";
  struct Case {
    const char* name;
    std::string photo, backup;  // no backup file when "", a folder when "<folder>"
    std::string on;
  };
  for (const Case& c : std::vector<Case>{
           {"after JFIF, ICC, Photoshop",
            JpegBuilder().App0Jfif().App2Icc().App13().App1Exif(tiff).Scan().Build(),
            "not a backup at all, and never opened", own},
           {"after XMP", JpegBuilder().App1Xmp().App1Exif(tiff).Scan().Build(), "",
            "loaded backup-button write-button"},
           // A segment at the file's first byte cannot be backed up.
           {"without SOI", JpegBuilder().WithoutSoi().App1Exif(tiff).Scan().Build(), BackupOf("B"),
            "loaded backup-found backup-lamp restore-button write-button"},
           {"JFIF only", PhotoWithoutExif(), BackupOf("Backup Cam"), fromBackup},
           {"no backup", PhotoWithoutExif(), "", "banner write-button"},
           {"backup name taken by a folder", PhotoWithoutExif(), "<folder>", "banner write-button"},
           {"not a JPEG", "GIF89a and more bytes", "", "banner write-button"}}) {
    SCOPED_TRACE(c.name);
    TempDir folder;
    Open(folder.Write("before.jpg", PhotoWithExif()));  // leaves fields and buttons behind
    if (c.backup == "<folder>") std::filesystem::create_directory(folder.File("img.Exif"));
    if (!c.backup.empty() && c.backup != "<folder>") folder.Write("img.Exif", c.backup);
    const std::string path = folder.Write("img.jpg", c.photo);
    Open(path);
    EXPECT_EQ(On(session), c.on);
    const bool read = c.on.starts_with("loaded");
    const std::string make = c.on == fromBackup ? "Backup Cam" : "Canon";
    EXPECT_EQ(session.txtExif[0] + "|" + session.txtExif[3] + "|" + session.txtExif[6],
              read ? make + "|(c) Ann Lee|2.8" : "||");
    const auto offset = static_cast<std::int64_t>(c.photo.find(kExifSignature)) - 4;
    if (read) {
      EXPECT_EQ(session.block.ExifSegmentOffset, c.on == fromBackup ? 24 : offset);
    }
    EXPECT_EQ(session.ImageFileName, path);
    EXPECT_EQ(session.Text1, "img.jpg");
    EXPECT_TRUE(host.messages.empty());
    session.SetBatch(true);
    EXPECT_TRUE(session.cmdBackup.visible);
    session.SetBatch(false);
    EXPECT_EQ(On(session), c.on);
  }
  // A kept area keeps its fields over a photograph without a block; a block replaces them.
  TempDir folder;
  session.chkKeep[kAreaCamera] = true;
  Open(folder.Write("a.jpg", PhotoWithExif("Canon")));
  Open(folder.Write("b.jpg", PhotoWithoutExif()));
  EXPECT_EQ(session.txtExif[0] + "|" + session.txtExif[6], "Canon|");
  Open(folder.Write("c.jpg", PhotoWithExif("Nikon")));
  EXPECT_EQ(session.txtExif[0], "Nikon");
}

// A damaged backup, a missing photograph, a folder, a device and a pipe are
// told (not in batch mode), each as what it is; a pipe is not waited on.
TEST_F(SessionRead, WhatCannotBeReadIsToldOutsideBatchModeOnly) {
  const std::string before = dir.Write("before.jpg", PhotoWithExif());
  dir.Write("img.jpg", PhotoWithoutExif());
  dir.Write("img.Exif", std::string(kBackupHeader) + "\xFF\xE0" + CameraSegment("B").substr(2));
  dir.Write("absent.Exif", BackupOf("B"));
  const std::string fifo = dir.File("pipe.jpg");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const std::string notRegular(text::kNotRegularFile);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {dir.File("img.jpg"), std::string(text::kBackupDamaged)},
      {dir.File("absent.jpg"), std::string(text::kNoImageFile)},
      {dir.Path().string(), notRegular + dir.Path().string()},
      {"/dev/zero", notRegular + "/dev/zero"},
      {fifo, notRegular + fifo}};
  for (bool batch : {false, true}) {
    for (const auto& [path, told] : cases) {
      SCOPED_TRACE(path + (batch ? " in batch mode" : ""));
      session.SetBatch(false);
      Open(before);
      session.SetBatch(batch);
      Open(path);
      ASSERT_EQ(host.messages.size(), batch ? 0u : 1u);
      if (!batch) {
        EXPECT_EQ(host.messages[0].text, told);
      }
      EXPECT_EQ(session.txtExif, decltype(session.txtExif){});
      // A photograph that cannot be opened leaves the name of the one before.
      EXPECT_EQ(session.ImageFileName, session.PhotoFound() ? path : before);
    }
  }
}

TEST_F(SessionRead, FieldsAndPickersShowTheDisplayForms) {
  const std::string ascii(kAsciiCode);
  struct Shown {
    Entry entry;
    int field;
    const char* text;
    int item = 0;  // for the fields with a picker: the item selected
  };
  // In this order, a number without a picker item follows one that selected an item.
  const std::vector<Shown> cases = {
      {Rational(0x829A, 10, 1250), 5, "1/125"},
      {Ascii(0x9003, "2001:05:12 14:30:00"), 4, "2001/05/12 14:30:00"},
      {Undefined(0x9286, ascii + "(Edit by Tagloom)Hi"), 13, "Hi"},
      {Undefined(0x927C, "\x0A\x1B"), 12, "0A1B"},
      {Short(0x8822, 2), 7, "2", 2},
      {Short(0x8822, 9), 7, "9", -1},
      {Short(0x9207, 5), 14, "5", 5},
      // The flash shows whether it fired (bit 0); its field keeps the camera's number.
      {Short(0x9209, 16), 11, "16", 0},
      {Short(0x9209, 25), 11, "25", 1},
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
      EXPECT_EQ(session.Combo3 + session.Combo4, 0);
      const PickerInfo* picker = PickerOfField(c.field);
      EXPECT_EQ(picker && picker->followsField ? session.Selected(picker->picker) : 0, c.item);
    }
  }
  // A picker never takes an item it does not have, nor writes one.
  for (const auto& [picker, item] : {std::pair{Picker::kCombo3, 10},
                                     {Picker::kCombo3, 99},
                                     {Picker::kCombo4, 18},
                                     {Picker::kCombo1, 9},
                                     {Picker::kOptFlash, 2},
                                     {Picker::kCombo2, -2}}) {
    const std::array<std::string, kFieldCount> fields = session.txtExif;
    const int selected = session.Selected(picker);
    session.SelectPicker(picker, item);
    EXPECT_EQ(session.Selected(picker), selected) << item;
    EXPECT_EQ(session.txtExif, fields) << item;
  }
}

}  // namespace
}  // namespace tagloom
