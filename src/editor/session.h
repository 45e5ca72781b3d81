// The editor's whole state and behaviour, without widgets. A window (or the
// command-line tool) owns a Session, forwards every action to it, and after
// each call shows the Session's state.
#pragma once

#include <array>
#include <locale>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/host.h"
#include "model/catalogue.h"
#include "model/pickers.h"
#include "model/record_store.h"
#include "reader/exif_block.h"
#include "reader/read_channel.h"
#include "writer/file_system.h"
#include "writer/replace_group.h"
#include "writer/write_result.h"

namespace tagloom {

// What a control shows besides its text.
struct ControlState {
  bool visible = true;
  bool enabled = true;
};

// How a button's work ended.
enum class Outcome {
  kDone,      // done (for a batch: every file of it that had something to do)
  kDeclined,  // the person answered No, or there was nothing to do
  kFailed,    // refused or failed (for a batch: at least one file); the person was told
};

class Session {
 public:
  // `fs` carries out every write; tests pass one that fails on purpose.
  explicit Session(Host& host, FileSystem& fs = RealFileSystem());

  // --- Data -----------------------------------------------------------------
  RecordStore store;
  std::array<std::string, kFieldCount> txtExif;
  int Combo1 = -1;    // exposure program
  int Combo2 = -1;    // metering mode
  int Combo3 = -1;    // ISO
  int Combo4 = -1;    // exposure bias
  int OptFlash = -1;  // flash: 0 none, 1 fired

  std::string Text1;  // the file-name box: a full path to open, then the bare name
  std::string ImageFileName;
  std::string BackupFileName;
  bool BackupAvailable = false;
  bool ExifLoaded = false;
  bool ExifFromBackup = false;
  ExifBlockLayout block;  // ExifSegmentOffset, ExifSegmentLength, TiffBase, ...
  bool BackupButtonShown = false;
  std::string ExifHeadBytes;  // the segment of the last build
  TextList lstDragFiles;      // the navigation list: full paths
  // Digit grouping of the numbers in batch summaries.
  std::locale numberLocale;

  // The progress panel.
  struct ProgressBar {
    bool visible = false;
    std::int64_t min = 0, max = 100, value = 0;
  } Bar;

  // --- Controls ---------------------------------------------------------------
  ControlState cmdBackup{false, true};
  ControlState cmdRestore{false, true};
  ControlState cmdExifWrite{true, false};
  ControlState labNoExif{false, true};
  ControlState chkBatchControl{true, false};
  bool chkBatch = false;  // batch mode: ticked
  std::array<bool, kAreaCount> chkKeep{};
  bool imgReadLit = false;    // the read lamp: data on show came from the backup
  bool imgBackupLit = false;  // the backup lamp: a backup file exists

  // --- Fields and pickers -----------------------------------------------------
  // Sets a field's text, by code or by typing: the one way a field changes.
  void SetFieldText(int field, std::string text);
  // Chooses a picker item (or -1 for none); the item is written into the
  // picker's field, as choosing it by hand does. An item the picker does not
  // have selects nothing and writes nothing.
  void SelectPicker(Picker picker, int item);
  // The selected item of a picker, -1 for none.
  int Selected(Picker picker) const;
  // The texts to be written: each field's text, or, for a field that still
  // holds the text it was given when the block was read, the bytes that text
  // was shown from (a legacy encoding stays as it was).
  std::array<std::string, kFieldCount> FieldsToWrite() const;

  // --- Reset and areas ----------------------------------------------------------
  void Reset();
  void ClearArea(int area);
  void ClearAllArea();
  void chkBackup();
  void chkRead();
  // The batch-mode box was clicked (chkBatch already holds its new state).
  void chkBatch_Click();

  // --- Reading ----------------------------------------------------------------
  // Reads the photograph whose full path is in Text1 (or its backup file).
  void GetExifData();
  bool CheckFile();
  bool CheckBackupFile();
  // Shows the photograph in Text1: its picture, then its EXIF block.
  void DrawImage();
  // Whether the last read found the photograph (it could be opened).
  bool PhotoFound() const { return photoFound_; }
  // Fills the fields and pickers from the record store.
  void MoveValue();

  // --- Progress panel ---------------------------------------------------------
  void ShowBar(bool visible);
  void InitBar(std::int64_t min, std::int64_t max);
  void SetBar(std::int64_t value);  // clamped to the bar's range

  // --- Writing ------------------------------------------------------------------
  // The write button: checks, confirms, builds and stores.
  Outcome cmdExifWrite_Click();
  // Builds a new segment from the fields into ExifHeadBytes.
  bool BuildExifHead();
  // Puts the backup file's segment into the photograph. True when stored.
  bool StoreExifData();
  // Copies the photograph's own segment into its backup file.
  bool StartBackupExif();
  // The backup and restore buttons, single or batch.
  Outcome cmdBackup_Click();
  Outcome cmdRestore_Click();

 private:
  // Tells the person why a write or backup failed (not in batch mode).
  void ReportFailure(std::string_view what, std::string_view title, const std::string& reason);
  // Why a write came to nothing, in the person's words.
  std::string ReasonFor(const WriteResult& result) const;
  // A batch's failures, one line each, for its summary.
  std::vector<std::string> batchFailures_;
  // Whether a batch is running: its failures go into the summary instead of
  // a message each. (Ticking batch mode alone does not silence the write button.)
  bool batchRunning_ = false;
  // Whether the last GetExifData found the photograph.
  bool photoFound_ = false;
  // What reading the block put into each field, and the bytes it came from.
  struct FieldAsRead {
    bool set = false;
    std::string text, bytes;
  };
  std::array<FieldAsRead, kFieldCount> asRead_;
  // During a batch backup: the backups written but not yet in place.
  ReplaceGroup* backupGroup_ = nullptr;

  // Puts a built segment (then also into the backup file), or the backup
  // file's segment when `built` is null, into the photograph.
  bool Store(const std::string* built);
  // Reads the block whose APP1 marker was just read, and shows it.
  void ReadBlock(ReadChannel& channel);

  Host& host_;
  FileSystem& fs_;
  std::optional<ReadChannel> photo_;  // opened by CheckFile, read by GetExifData
  OpenProblem openProblem_ = OpenProblem::kNone;
};

}  // namespace tagloom
