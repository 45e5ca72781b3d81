// A table applied to the list: rows matched by the file column or in order,
// slid against the photographs, and a bad table told by row and column with
// nothing written for the rows it spoils.
#include "editor/editor_support.h"
#include "model/path_name.h"

namespace tagloom {
namespace {

using namespace test;

class TableApply : public SessionTest {
 protected:
  std::string FieldOf(const std::string& path, int field) {
    RecordingHost quiet;
    Session reader(quiet);
    reader.GetExifData(path);
    return reader.txtExif[static_cast<std::size_t>(field)];
  }
};

// A shot log without file names goes to the photographs in order; the rows
// slide by one when the log has a frame the scans lack; the columns that
// name nothing are told, not refused.
TEST_F(TableApply, RowsInOrderSlideAgainstThePhotographs) {
  const std::vector<std::string> scans = Photos("scan", 3);
  const std::string log = dir.Write("log.csv",
                                    "Frame,Shutter,Aperture,Notes,Lens\n"
                                    "0,1/500,f/16,blank frame,50mm\n"
                                    "1,1/125s,f/8,first,50mm\n"
                                    "2,1/60,F5.6,\"second, with a comma\",50mm\n"
                                    "3,1/30,4,third,50mm\n");
  host.tableSlides = {1};
  ASSERT_EQ(session.ApplyTable(log, scans), Outcome::kDone);
  const TablePreview& preview = host.tablesPreviewed.at(0);
  EXPECT_EQ(preview.lineOf, (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(preview.leftRows,
            (std::vector<std::string>{
                Joined({text::kTableRow, "2", text::kTableRowEnd, text::kTableNoPhoto})}));
  EXPECT_EQ(preview.unusedColumns.size(), 2u) << "Frame and Lens";
  EXPECT_EQ(FieldOf(scans[0], 5) + "|" + FieldOf(scans[0], 6) + "|" + FieldOf(scans[0], 13),
            "1/125|8.0|first");
  EXPECT_EQ(FieldOf(scans[1], 13), "second, with a comma");
  EXPECT_EQ(FieldOf(scans[2], 6), "4.0");
}

// By the file column (relative to the table's folder): a cell that cannot
// be read as its field, a file not in the list, a missing file, and two rows
// for one photograph are each told by row and column; nothing is written for
// them, and the others are.
TEST_F(TableApply, ABadTableIsToldByRowAndColumnAndOnlyItsBadRowsAreLeft) {
  const std::vector<std::string> photos = Photos("p", 4);
  const std::string other = dir.Write("elsewhere.jpg", PhotoWithExif("Elsewhere"));
  std::vector<std::string> names;
  for (const std::string& photo : photos) names.emplace_back(FileNameOf(photo));
  const std::string table =
      dir.Write("captions.csv",
                Joined({"file;date;iso;comment\n",                         // line 1
                        names[0], ";1998-07-14T10:00:00;ISO 400;good\n",   // 2
                        names[1], ";30.02.1998;100;bad date\n",            // 3
                        names[2], ";;many;bad iso\n",                      // 4
                        "elsewhere.jpg;;;not listed\n",                    // 5
                        "gone.jpg;;;missing\n",                            // 6
                        names[3], ";;;once\n", names[3], ";;;twice\n"}));  // 7, 8
  EXPECT_EQ(session.ApplyTable(table, photos), Outcome::kFailed);
  const std::vector<PhotoOutcome>& outcomes = session.lastRun.outcomes;
  EXPECT_EQ(ResultWords(outcomes), "written refused refused refused");
  EXPECT_EQ(outcomes[1].reason,
            Joined({text::kTableRow, "3", text::kTableRowEnd, "date", text::kTableColumn,
                    ": 30.02.1998 ", text::kTableNotADate}));
  EXPECT_NE(outcomes[2].reason.find("iso"), std::string::npos) << outcomes[2].reason;
  EXPECT_EQ(outcomes[3].reason,
            Joined({text::kTableRow, "7", text::kTableRowEnd, text::kTableAnd, text::kTableRow, "8",
                    text::kTableRowEnd, text::kTableSamePhoto}));
  const std::string& notes = host.summaries.at(0).text;
  EXPECT_NE(notes.find(Joined({text::kTableFileNotListed, "elsewhere.jpg"})), std::string::npos);
  EXPECT_NE(notes.find(Joined({text::kTableFileMissing, "gone.jpg"})), std::string::npos);
  EXPECT_EQ(FieldOf(photos[0], field::kDate) + "|" + FieldOf(photos[0], field::kIso),
            "1998/07/14 10:00:00|400");
  EXPECT_EQ(FieldOf(photos[1], field::kDate), "2008/05/30 15:56:01") << "nothing written";
  EXPECT_EQ(FieldOf(other, field::kComment), "");

  // Bytes that are no text at all.
  dir.Write("binary.csv", std::string("file\0\xFF\xFE", 7));
  host.messages.clear();
  EXPECT_EQ(session.ApplyTable(dir.File("binary.csv"), photos), Outcome::kFailed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.messages[0].text.starts_with(text::kTableNotText)) << host.messages[0].text;
}

// The list's own table, applied back, changes nothing.
TEST_F(TableApply, TheListsOwnTableAppliedBackChangesNothing) {
  const std::vector<std::string> photos = Photos("roll", 3);
  const std::string table = dir.Write("roll.csv", session.TableOfFields(photos, dir.Path()));
  EXPECT_TRUE(table.size() > 0);
  const FolderContents before = Snapshot(dir.Path());
  EXPECT_EQ(session.ApplyTable(table, {}), Outcome::kDone) << "the photographs the table names";
  EXPECT_EQ(ResultWords(session.lastRun.outcomes), "unchanged unchanged unchanged");
  EXPECT_TRUE(SameFolder(Snapshot(dir.Path()), before));

  // A photograph listed twice, through a link first: its row goes to the
  // first listing, the one the run writes.
  std::filesystem::create_symlink(photos[0], dir.File("link.jpg"));
  const std::string caption =
      dir.Write("caption.csv", Joined({"file,comment\n", FileNameOf(photos[0]), ",Once\n"}));
  EXPECT_EQ(session.ApplyTable(caption, {dir.File("link.jpg"), photos[0]}), Outcome::kDone);
  EXPECT_EQ(ResultWords(session.lastRun.outcomes), "written skipped");
  EXPECT_EQ(FieldOf(photos[0], field::kComment), "Once");
}

}  // namespace
}  // namespace tagloom
