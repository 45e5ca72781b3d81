// The editor's whole state and behaviour, without widgets. A window (or the
// command-line tool) owns a Session, forwards every action to it, and after
// each call shows the Session's state.
#pragma once

#include <array>
#include <functional>
#include <locale>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/host.h"
#include "editor/preview_geometry.h"
#include "model/catalogue.h"
#include "model/date_shift.h"
#include "model/edit_back.h"
#include "model/pickers.h"
#include "model/record_store.h"
#include "reader/exif_block.h"
#include "reader/read_channel.h"
#include "writer/backup_writer.h"
#include "writer/exif_segment.h"
#include "writer/file_system.h"
#include "writer/replace_group.h"
#include "writer/write_result.h"

namespace tagloom {

// What a control shows besides its text.
struct ControlState {
  bool visible = true;
  bool enabled = true;
};

class Session;

// The texts one photograph of a list write is to get: for each field, a text,
// or nothing to keep what was read; or why it cannot be written.
struct ListEdit {
  std::array<std::optional<std::string>, kFieldCount> texts;
  std::string problem;
};
// Gives a photograph's ListEdit, shown the Session with that photograph loaded
// and told its place in the list (from 0).
using ListEditor = std::function<ListEdit(const Session&, std::size_t index)>;

// How a button's work ended.
enum class Outcome {
  kDone,      // done (for a batch: every file of it that had something to do)
  kDeclined,  // the person answered No, there was nothing to do, or other work was under way
  kFailed,    // refused or failed (for a batch: at least one file); the person was told
};

// The lists of the record store that the inspector shows, in its order.
enum class StoreList {
  kTag,
  kPosition,
  kCount,
  kType,
  kValuePos,
  kTitle,
  kValue,
  kUnuseTag,
  kUnusePos,
  kUnuseValuePos,
  kUnuseValue,
};
inline constexpr int kStoreListCount = 11;

// A day of the calendar.
struct CalendarDate {
  int year = 0, month = 0, day = 0;
};

// Outer heights of the window, in twips: as it opens, and with the inspector.
inline constexpr int kWindowHeight = 5955;
inline constexpr int kTallWindowHeight = 10500;

class Session {
 public:
  // `fs` carries out every write; tests pass one that fails on purpose.
  explicit Session(Host& host, FileSystem& fs = RealFileSystem());

  // --- Data -----------------------------------------------------------------
  RecordStore store;
  int storeVersion = 0;  // grows whenever the store's rows change
  std::array<std::string, kFieldCount> txtExif;
  int Combo1 = -1;    // exposure program
  int Combo2 = -1;    // metering mode
  int Combo3 = -1;    // ISO
  int Combo4 = -1;    // exposure bias
  int OptFlash = -1;  // flash: 0 none, 1 fired

  std::string Text1;  // the file-name box: the full path being opened, then the bare name
  std::string ImageFileName;
  std::string BackupFileName;
  bool BackupAvailable = false;
  bool ExifLoaded = false;
  bool ExifFromBackup = false;
  ExifBlockLayout block;  // ExifSegmentOffset, ExifSegmentLength, TiffBase, ...
  bool BackupButtonShown = false;
  std::string ExifHeadBytes;  // the segment of the last build
  TextList lstDragFiles;      // the navigation list: full paths
  int FileIndex = 0;          // 1-based position of the photograph on show in it
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
  std::array<ControlState, 4> cmdNavigate{
      {{false, true}, {false, true}, {false, true}, {false, true}}};
  struct Label {
    std::string text;
    bool visible = false;
  } labNum;
  // The preview: whether a picture is shown, of which file, and where (twips, in its frame).
  struct Picture {
    bool visible = false;
    std::string path;
    PreviewPlacement place;
  } Image1;
  ControlState Frame_Exif{false, true};  // the inspector
  int WindowHeight = kWindowHeight;      // outer height, twips
  // The selected row of each inspector list, -1 for none.
  std::array<int, kStoreListCount> selectedRow = MakeNoSelection();

  // --- Fields and pickers -----------------------------------------------------
  // Sets a field's text, by code or by typing: the one way a field changes.
  // A change runs the change handling (the inspector's access texts).
  void SetFieldText(int field, std::string_view text);
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
  // Which fields still hold the text reading the block put there.
  std::array<bool, kFieldCount> UneditedFields() const;
  // A field lost the focus; true when the focus is to go back into it (a
  // date the conversion cannot read, which the person has been told).
  bool txtExif_LostFocus(int field);
  // The date picker: the day it opens on (from the date field), and the day chosen.
  std::optional<CalendarDate> DateForCalendar() const;
  void SetChosenDate(const CalendarDate& day);

  // --- Inspector --------------------------------------------------------------
  const TextList& ListOf(StoreList list) const;
  // Selects a row of an inspector list (-1: none); from lstTag, lstTitle and
  // lstUnuseTag the rest of the line follows.
  void SelectRow(StoreList list, int row);
  // The pointer moved over a row of a list, with the left button held or not.
  void List_MouseMove(StoreList list, int row, bool leftButton);

  // --- Reset and areas ----------------------------------------------------------
  void Reset();
  void ClearArea(int area);
  void ClearAllArea();
  void chkBackup();
  void chkRead();
  // Ticks or unticks the batch-mode box and runs its click handling.
  void SetBatch(bool ticked);

  // --- Reading ----------------------------------------------------------------
  // Reads the photograph at `path` (or its backup file) into the store and fields.
  void GetExifData(const std::string& path);
  // Opens the photograph named in Text1 (then Text1 holds its bare name).
  bool CheckFile();
  // Whether the backup file of the photograph CheckFile opened exists (and is
  // not the photograph itself).
  bool CheckBackupFile();
  // Shows the photograph at `path`: its picture, then its EXIF block. False
  // when the picture could not be loaded (the person has been told).
  bool DrawImage(const std::string& path);
  // Whether the last read found the photograph (it could be opened).
  bool PhotoFound() const { return photoFound_; }
  // Where the block on show came from: "photo", "backup" or "none".
  std::string_view Source() const;
  // Fills the fields and pickers from the record store.
  void MoveValue();

  // --- Opening and navigating ---------------------------------------------------
  // The open dialog's answer: the full paths chosen, none for a cancel. One
  // photograph is shown with the list kept; two or more become the list, as
  // a drop of them does.
  void cmdOpen_Click(const std::vector<std::string>& chosen);
  // Files dropped on the picture, or given on the command line; a folder
  // brings the photographs directly inside it.
  void Image1_DropFiles(const std::vector<std::string>& paths);
  // Photographs handed over by another start of the program ("Open With"
  // while this one runs). They wait until TakeHandOver, which takes them as
  // a drop on the picture unless an action is under way (then it is false
  // and they go on waiting); a hand-over never runs inside another action.
  void HandOver(const std::vector<std::string>& paths);
  bool TakeHandOver();
  bool HandOverWaiting() const { return !handedOver_.empty(); }
  // Takes over lstDragFiles, freshly filled (by the drop target).
  void DoDrop();
  // First, previous, next, last.
  void cmdNavigate_Click(int index);
  void SetNavigate();
  void Image1_DblClick();

  // --- Progress panel ---------------------------------------------------------
  void ShowBar(bool visible);
  void InitBar(std::int64_t min, std::int64_t max);
  void SetBar(std::int64_t value);  // clamped to the bar's range

  // --- Writing ------------------------------------------------------------------
  // The write button: checks, confirms, builds and stores. In batch mode with
  // a keep box ticked, it writes the ticked areas to the whole list.
  Outcome cmdExifWrite_Click();
  // A write to every photograph of a list: each gets what `edit` gives it,
  // with every rule of a write of one; a preview first, a summary at the
  // end. The outcome of each photograph stays in listOutcomes.
  // What "only this photograph" in the preview writes: the fields as they
  // stand (the write of one, with its own question), or the photograph on
  // show given its edit as the list would.
  enum class OnlyShown { kItsFields, kItsEdit };
  Outcome WriteList(const std::vector<std::string>& photos, const ListEditor& edit,
                    OnlyShown onlyShown = OnlyShown::kItsFields);
  // The preview alone: what the list write would change in each photograph.
  ListPreview PlanList(const std::vector<std::string>& photos, const ListEditor& edit);
  std::vector<PhotoOutcome> listOutcomes;
  // The navigation list, or the photograph on show when there is none.
  std::vector<std::string> ListOrShown() const;

  // --- Dates for the list (ListOrShown) ------------------------------------
  // The date the photograph on show was taken, as read (its date field
  // shows it); nullopt when it has none that can be read.
  std::optional<DateTime> RecordedDate() const;
  // Every photograph's date moved by `seconds`.
  Outcome ShiftDates(DateOffset seconds);
  // The photograph on show shows a clock that read `clock` when it was taken:
  // every photograph's date moves by as much as its date is wrong.
  Outcome ShiftDatesByClock(const DateTime& clock);
  // The first photograph (the last, reversed) gets `first`, each next one a
  // date `step` seconds later.
  Outcome NumberDates(const DateTime& first, DateOffset step, bool reversed);
  // The editors of those, for the command line's preview.
  static ListEditor DateShift(DateOffset seconds);
  static ListEditor DateSequence(const DateTime& first, DateOffset step, bool reversed,
                                 std::size_t count);
  // What the ticked areas hold, for every photograph (the maker note, which
  // is each camera's own, excepted).
  ListEditor KeptAreas() const;
  // Builds a new segment from the fields into ExifHeadBytes.
  bool BuildExifHead();
  // Puts the backup file's segment into the photograph. True when stored.
  bool StoreExifData();
  // Copies the photograph's own segment into its backup file.
  bool StartBackupExif();
  // The backup and restore buttons, single or batch.
  Outcome cmdBackup_Click();
  Outcome cmdRestore_Click();

  // Whether an action is under way (a copy yields to the event loop): any
  // other action is refused until it ends.
  bool Working() const { return working_; }

 private:
  // Marks an action as under way for its lifetime; false when another one is.
  class ActionGuard {
   public:
    explicit ActionGuard(Session& session) : session_(session), entered_(!session.working_) {
      if (entered_) session_.working_ = true;
    }
    ~ActionGuard() {
      if (entered_) session_.working_ = false;
    }
    ActionGuard(const ActionGuard&) = delete;
    ActionGuard& operator=(const ActionGuard&) = delete;
    explicit operator bool() const { return entered_; }

   private:
    Session& session_;
    bool entered_;
  };
  static std::array<int, kStoreListCount> MakeNoSelection() {
    std::array<int, kStoreListCount> rows;
    rows.fill(-1);
    return rows;
  }

  void GetExifData();
  bool DrawImage();
  void chkBatch_Click();
  void TakeOverList();
  void txtExif_Change(int field);
  void ShowPositionsInHex();
  // Tells the person why a write or backup failed (not in batch mode).
  void ReportFailure(std::string_view what, std::string_view title, const std::string& reason);
  // Why a write came to nothing, in the person's words.
  std::string ReasonFor(const WriteResult& result) const;
  // The photograph's own segment (where the block on show was read from it),
  // as a write saves it and a backup copies it; nullopt when it has none.
  std::optional<SegmentAt> OwnSegment() const;
  // Whether every field is blank: there is nothing to write.
  bool AllFieldsEmpty() const;
  // A Session of a run's one photograph: batch mode, its messages kept.
  void BecomePartOfRun();
  // A new block built from the fields, in a copy of the store.
  struct NewBlock {
    RecordStore store;
    DirectoryCounts counts;
    BuiltSegment segment;
  };
  // Builds from the fields without touching the Session; nullopt when a field
  // is refused (the person has been told).
  std::optional<NewBlock> BuildFromFields();
  // The new block becomes the block on show: its rows, counts and segment.
  void TakeOver(NewBlock&& built);
  // The write of the photograph on show (the single write).
  Outcome WriteShown();
  // Loads one photograph of a list write into this (scratch) Session, gives
  // it its edit and writes it, if it is to change.
  PhotoOutcome WriteOne(const std::string& path, std::size_t index, const ListEditor& edit);
  // Writes the photographs at the `chosen` places of `photos`, each with its
  // edit; the summary and the photograph on show read afresh at the end.
  Outcome RunList(const std::vector<std::string>& photos, const std::vector<std::size_t>& chosen,
                  const ListEditor& edit);
  // Loads one photograph and plans its edit; the fields then hold the edit.
  // `built`, when given, receives the new block.
  PhotoPlan PlanOne(const std::string& path, std::size_t index, const ListEditor& edit,
                    std::optional<NewBlock>* built = nullptr);
  // The frame of every run over the navigation list: each photograph loaded
  // as GetExifData does, acted on if it is there, the window let breathe,
  // per-file messages gathered instead of shown.
  // `act` is given the photograph's index in the list.
  std::vector<PhotoOutcome> WalkList(const std::function<PhotoResult(std::size_t)>& act);
  // What the write's confirmation tells besides its question: what the new
  // block will not carry over, and which backup file keeps the block before.
  std::string WriteDetails(MakerNoteKept makerNote) const;
  // What the new block will not carry over from the block on show, one item a line.
  std::string WhatIsNotKept(MakerNoteKept makerNote) const;
  // Puts a built segment, or the backup file's segment when `built` is null,
  // into the photograph; a built one saves the photograph's own segment (at
  // `own`) into a new backup file first where it has none.
  bool Store(const std::string* built, const std::optional<SegmentAt>& own = std::nullopt);
  // Reads the block whose APP1 marker was just read, and shows it.
  void ReadBlock(ReadChannel& channel);
  // ClearAllArea once Reset has run: only the kept areas still hold texts.
  void ClearKeptAreas();

  // Photographs handed over, waiting to be taken.
  std::vector<std::string> handedOver_;
  // Why the last write or backup failed, for a run's outcomes.
  std::string lastFailure_;
  // A batch's failures, one line each, for its summary.
  std::vector<std::string> batchFailures_;
  // Whether a batch is running: its failures go into the summary instead of
  // a message each. (Ticking batch mode alone does not silence the write button.)
  bool batchRunning_ = false;
  bool working_ = false;
  // Whether the last GetExifData found the photograph.
  bool photoFound_ = false;
  // What reading the block put into each field, and the bytes it came from
  // (for ASCII, the text itself: no second copy of a long maker note).
  struct FieldAsRead {
    bool set = false;
    std::string bytes;
    std::string decoded;  // the text shown, when it differs from the bytes
    bool textIsBytes = true;
    const std::string& Text() const { return textIsBytes ? bytes : decoded; }
    void Forget() {  // as if never read; the buffers are kept for the next photograph
      set = false;
      bytes.clear();
      decoded.clear();
      textIsBytes = true;
    }
  };
  std::array<FieldAsRead, kFieldCount> asRead_;
  // During a batch backup: the backups written but not yet in place.
  ReplaceGroup* backupGroup_ = nullptr;

  Host& host_;
  FileSystem& fs_;
  std::optional<ReadChannel> photo_;  // opened by CheckFile, read by GetExifData
  std::string photoPath_;             // the path CheckFile was given
  OpenProblem openProblem_ = OpenProblem::kNone;
};

}  // namespace tagloom
