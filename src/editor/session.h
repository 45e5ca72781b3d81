// The editor's whole state and behaviour, without widgets. A window (or the
// command-line tool) owns a Session, forwards every action to it, and after
// each call shows the Session's state.
//
// Which file holds what:
//   session.cpp           construction, reset, the field areas and lamps, reading
//                         a photograph (GetExifData) and showing its block
//   session_fields.cpp    the fields and pickers, the date field and picker,
//                         edits not yet written, the inspector's selection
//   session_navigate.cpp  the ways to a photograph: open, drop, hand-over,
//                         navigation, the preview
//   session_buttons.cpp   the write, backup and restore buttons: the photograph
//                         on show, or in batch mode a run over the list
//   session_write.cpp     the write, backup and restore of the photograph on
//                         show, and the new block built from the fields
//   session_doubts.cpp    what a write must tell before it acts: what the new
//                         block will not keep, a backup name that cannot serve
//   session_list.cpp      a run over a list: preview, progress and stop, the
//                         photographs staged and put in place in groups, the
//                         summary
//   session_dates.cpp     new dates for the list: shift, clock, sequence
//   session_table.cpp     the list's fields as a table, and a table applied
//                         to the list (a run over the list)
// Calls go one way: the buttons call the write of one photograph or a run
// over the list; neither calls the buttons, nor each other.
#pragma once

#include <array>
#include <locale>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/host.h"
#include "editor/preview_geometry.h"
#include "editor/session_types.h"
#include "editor/table_apply.h"
#include "model/catalogue.h"
#include "model/date_shift.h"
#include "model/edit_back.h"
#include "model/pickers.h"
#include "model/record_store.h"
#include "reader/backup_place.h"
#include "reader/exif_block.h"
#include "reader/read_channel.h"
#include "writer/commit_group.h"
#include "writer/exif_segment.h"
#include "writer/file_system.h"
#include "writer/photo_write.h"

namespace tagloom {

class Session {
 public:
  // `fs` carries out every read and write of files; tests pass one that
  // fails on purpose.
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
    std::string text;  // where a run is: "3 / 200  IMG_0003.JPG"
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

  // --- Fields and pickers (session_fields.cpp) ------------------------------------
  // Sets a field's text, by code or by typing: the one way a field changes.
  // A change runs the change handling (the inspector's access texts).
  void SetFieldText(int field, std::string_view text);
  // Chooses a picker item (or -1 for none); the item is written into the
  // picker's field, as choosing it by hand does. An item the picker does not
  // have selects nothing and writes nothing.
  void SelectPicker(Picker picker, int item);
  // The selected item of a picker, -1 for none.
  int Selected(Picker picker) const;
  // Ticks or unticks a keep box (by any route: a click, a key, a screen reader).
  void SetKeep(int area, bool ticked);
  // The texts to be written: each field's text, or, for a field that still
  // holds the text it was given when the block was read, the bytes that text
  // was shown from (a legacy encoding stays as it was).
  std::array<std::string, kFieldCount> FieldsToWrite() const;
  // Which fields still hold the text reading the block put there.
  std::array<bool, kFieldCount> UneditedFields() const;
  // Whether the person typed into a field something not yet written that
  // leaving the photograph would lose (a ticked keep box carries its area on).
  bool HasUnwrittenEdits() const;
  // Before the photograph on show gives way to another: where edits would be
  // lost, the person chooses to write them, drop them, or stay. True to go on.
  bool MayLeavePhoto();
  // A field lost the focus; true when the focus is to go back into it (a
  // date that cannot be read, which the person has been told).
  bool txtExif_LostFocus(int field);
  // The date picker: the day it opens on (from the date field), and the day chosen.
  std::optional<DateTime> DateForCalendar() const;
  void SetChosenDate(const DateTime& day);

  // --- Inspector (session_fields.cpp) ----------------------------------------------
  const TextList& ListOf(StoreList list) const;
  // Selects a row of an inspector list (-1: none); from lstTag, lstTitle and
  // lstUnuseTag the rest of the line follows.
  void SelectRow(StoreList list, int row);
  // The pointer moved over a row of a list, with the left button held or not.
  void List_MouseMove(StoreList list, int row, bool leftButton);

  // --- Reset, areas and reading (session.cpp) ------------------------------------
  void Reset();
  void ClearArea(int area);
  void ClearAllArea();
  void chkBackup();
  void chkRead();
  // Ticks or unticks the batch-mode box and runs its click handling.
  void SetBatch(bool ticked);
  // Reads the photograph at `path` (or its backup file) into the store and fields.
  void GetExifData(const std::string& path);
  // Opens the photograph named in Text1 (then Text1 holds its bare name).
  bool CheckFile();
  // Whether the backup file of the photograph CheckFile opened exists (and is
  // not the photograph itself).
  bool CheckBackupFile();
  // Whether the last read found the photograph and read it whole.
  bool PhotoFound() const { return photoFound_; }
  // Where the block on show came from: "photo", "backup" or "none".
  std::string_view Source() const;
  // Fills the fields and pickers from the record store.
  void MoveValue();

  // --- Opening and navigating (session_navigate.cpp) -------------------------------
  // Shows the photograph at `path`: its picture, then its EXIF block. False
  // when the picture could not be loaded (the person has been told).
  bool DrawImage(const std::string& path);
  // The open dialog's answer: the full paths chosen, none for a cancel. One
  // photograph is shown with the list kept; two or more become the list, in
  // natural order, as a drop of them does.
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

  // --- Progress panel (session_write.cpp) ----------------------------------------------
  void ShowBar(bool visible);
  void InitBar(std::int64_t min, std::int64_t max);
  void SetBar(std::int64_t value);  // clamped to the bar's range

  // --- The buttons (session_buttons.cpp) --------------------------------------------
  // The write button: checks, confirms, builds and stores. In batch mode with
  // a keep box ticked, it writes the ticked areas to the whole list.
  Outcome cmdExifWrite_Click();
  // The backup and restore buttons: the photograph on show, or in batch mode
  // every photograph of the list.
  Outcome cmdBackup_Click();
  Outcome cmdRestore_Click();

  // --- One photograph (session_write.cpp) -----------------------------------------
  // Puts the backup file's segment into the photograph on show. True when stored.
  bool StoreExifData();
  // Copies the photograph's own segment into its backup file.
  bool StartBackupExif();
  // The command line's choice: a write that cannot save the photograph's
  // block, and a restore that may bring back another photograph's, are
  // refused instead of asked about.
  bool refuseDoubtfulChanges = false;
  // Whether a write carries everything else the block held (GPS position,
  // thumbnail, every other entry): the person's choice in the write's
  // question, kept while the program runs; the command line's --keep-all.
  bool keepAll = false;

  // --- Runs over a list (session_list.cpp) ------------------------------------------
  // What every photograph would get: each planned as the run plans it, with
  // every check the run makes; nothing is written.
  ListPreview PreviewList(const std::vector<std::string>& photos, const EditsFor& edits);
  // A write to every photograph of a list: each gets what `edits` gives it,
  // with every rule of a write of one; a preview first ("only this
  // photograph": the one on show alone), then the run, then its summary.
  Outcome WriteToList(const std::vector<std::string>& photos, const EditsFor& edits);
  // The last run's summary, with every photograph's outcome.
  RunSummary lastRun;
  // The navigation list, or the photograph on show when there is none.
  std::vector<std::string> ListOrShown() const;
  // What the ticked areas hold, for every photograph (the maker note, which
  // is each camera's own, excepted).
  EditsFor KeptAreas() const;

  // --- Dates for the list (session_dates.cpp) -----------------------------------------
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
  // The edits of those, for the command line.
  static EditsFor DateShift(DateOffset seconds);
  static EditsFor DateSequence(const DateTime& first, DateOffset step, bool reversed,
                               std::size_t count);

  // --- Tables (session_table.cpp) ---------------------------------------------------
  // The fields of `photos` as a table (CSV bytes): `file`, relative to
  // `folder` where the photograph lies inside it, then each field's text as
  // the field shows it. A photograph that cannot be read is told and left out.
  std::string TableOfFields(const std::vector<std::string>& photos, const std::string& folder);
  // The list's table written to `path` ("导出表格..."); the person is told.
  Outcome ExportTable(const std::string& path);
  // The table at `tablePath` applied to `photos` (with a file column and
  // none given, to the photographs it names): the preview, where the rows
  // may slide against the photographs, then a write of each row to its
  // photograph. A bad row is refused; the others are written.
  Outcome ApplyTable(const std::string& tablePath, const std::vector<std::string>& photos);
  // The preview alone (a dry run); nullopt when the table cannot be read
  // (the person has been told).
  std::optional<TablePreview> PreviewTable(const std::string& tablePath,
                                           const std::vector<std::string>& photos);

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
  // A run over the list: what it does to each photograph.
  struct ListTask {
    RunKind kind = RunKind::kWrite;
    EditsFor edits;        // for a write
    bool keepAll = false;  // for a write: carry everything else each block held
    std::string notes;     // what the summary tells after its counts
  };
  // A new block built from the fields, in a copy of the store.
  struct NewBlock {
    RecordStore store;
    DirectoryCounts counts;
    BuiltSegment segment;
  };

  // session.cpp
  void GetExifData();
  void ReadBlock(ReadChannel& channel);
  // ClearAllArea once Reset has run: only the kept areas still hold texts.
  void ClearKeptAreas();
  // The photograph could not be read: told (not in batch mode), nothing kept of it.
  void ReadFailed(std::string reason);
  void chkBatch_Click();
  // session_fields.cpp
  void txtExif_Change(int field);
  void ShowPositionsInHex();
  // session_navigate.cpp
  bool DrawImage();
  void TakeOverList();
  // session_write.cpp
  // Tells the person why a write or backup failed (not in a run).
  void ReportFailure(std::string_view what, std::string_view title, const std::string& reason);
  // Why a write came to nothing, in the person's words.
  std::string ReasonFor(const WriteResult& result) const;
  // Whether every field is blank: there is nothing to write.
  bool AllFieldsEmpty() const;
  // Builds from the fields without touching the Session, carrying everything
  // else the block held when `carry`; nullopt when a field is refused (the
  // person has been told).
  std::optional<NewBlock> BuildFromFields(bool carry);
  // What can be carried of the block on show, read again from its file,
  // which must be the one read; nullopt (and the reason in lastFailure_)
  // when it cannot be read.
  std::optional<CarriedBlock> ReadCarried();
  // The new block becomes the block on show: its rows, counts and segment.
  void TakeOver(NewBlock&& built);
  // What a write of `built` puts into the photograph on show.
  PhotoChange ChangeFor(const NewBlock& built, bool saveOriginal) const;
  // The write of the photograph on show (the single write).
  Outcome WriteShown();
  // Carries out a change of the photograph on show and reports it.
  bool Store(const PhotoChange& change);
  // session_doubts.cpp
  // The photograph's own segment (where the block on show was read from it),
  // as a write saves it and a backup copies it; nullopt when it has none.
  std::optional<SegmentAt> OwnSegment() const;
  // What stands against a write saving the photograph's block into its
  // backup file, or a restore bringing back its own block: another
  // photograph beside it with the same backup name, or a file there that
  // cannot serve. "" when nothing does.
  std::string BackupDoubt(bool restore);
  // What the write's confirmation tells besides its question: what the new
  // block keeps and will not carry over, which backup file keeps the block
  // before, a doubt.
  std::string WriteDetails(const BuiltSegment& segment, const std::string& doubt) const;
  // What the new block will not carry over from the block on show, and what
  // a keep-all block keeps of it: one item a line.
  std::string WhatIsNotKept(const BuiltSegment& segment) const;
  static std::string WhatIsKept(const BuiltSegment& segment);
  // session_list.cpp
  // The places of `photos` that name a photograph listed before them, by
  // identity (a second path, a link, a hard link): for each, the first
  // place, or -1.
  static std::vector<int> SameAsEarlier(const std::vector<std::string>& photos);
  // Loads one photograph into this (a run's Session of its own) and plans
  // its edits; the fields then hold them. `built`, when given, receives the
  // new block.
  PhotoPlan PlanEdits(const std::string& path, std::size_t index, const EditsFor& edits, bool carry,
                      std::optional<NewBlock>* built = nullptr);
  // Stages this run's Session's part: its photograph loaded, planned and
  // staged; nullptr with `outcome` decided when there is nothing to stage.
  std::unique_ptr<Staged> StageOne(const std::string& path, std::size_t index, const ListTask& task,
                                   CopyProgress& progress, PhotoOutcome& outcome);
  // A Session of a run's one photograph: batch mode, its messages kept.
  void BecomePartOfRun(FolderNames& folders);
  // The preview of a write to `photos`, asked; the places its answer
  // chooses (none for No), and the keep-all choice made in it.
  std::vector<std::size_t> ConfirmList(const std::vector<std::string>& photos,
                                       const EditsFor& edits, ListAnswer& answer);
  // A table read and matched to photographs; nullopt when it cannot be (told).
  std::optional<TableMatch> MatchTable(const std::string& tablePath,
                                       const std::vector<std::string>& photos);
  TablePreview PreviewOf(const TableMatch& match);
  // Whether the last preview planned this write of `photos`.
  bool HasPlans(const std::vector<std::string>& photos, const ListTask& task) const;
  // Runs `task` over the `chosen` places of `photos`: progress and stop,
  // the photographs staged and made durable in groups, then the summary,
  // and the photograph on show read afresh.
  Outcome RunList(const std::vector<std::string>& photos, const std::vector<std::size_t>& chosen,
                  const ListTask& task);
  // The same over every photograph of `photos`.
  Outcome RunList(const std::vector<std::string>& photos, const ListTask& task);

  // Photographs handed over, waiting to be taken.
  std::vector<std::string> handedOver_;
  // Why the last write or backup failed, for a run's outcomes.
  std::string lastFailure_;
  // Whether this Session works on one photograph of a run: its failures go
  // into the run's outcomes instead of a message each.
  bool partOfRun_ = false;
  // Whether GetExifData only learns where the EXIF segment lies (a backup
  // run saves it as it stands, and shows none of its fields).
  bool placeOnly_ = false;
  bool working_ = false;
  // Whether the last GetExifData found the photograph and read it whole, and
  // why not.
  bool photoFound_ = false;
  std::string photoProblem_;
  // What the photograph was when it was read: a write refuses one changed since.
  std::optional<FileStamp> photoStamp_;
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
  // The names in the photographs' folders, shared by a run's Sessions.
  FolderNames* folders_ = nullptr;
  // What the last preview planned for each photograph of a write (by place
  // in `plannedFor_`), both ways: the run that follows stages it as planned,
  // without reading and building each block a second time; a photograph
  // changed since is refused by its stamp, as a write refuses it.
  struct PlannedWrite {
    std::string photoPath, backupPath;
    std::vector<FieldChange> changes;
    PhotoChange plain;
    std::optional<PhotoChange> carrying;
  };
  std::vector<std::optional<PlannedWrite>> planned_;
  std::vector<std::string> plannedFor_;

  Host& host_;
  FileSystem& fs_;
  std::optional<ReadChannel> photo_;  // opened by CheckFile, read by GetExifData; kept in a run
  std::string photoPath_;             // the path CheckFile was given
  OpenFailure openFailure_;
};

}  // namespace tagloom
