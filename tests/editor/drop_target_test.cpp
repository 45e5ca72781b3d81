// The drop target's gathering: drops from several folders, the two ways of
// clearing, and the hand-over to the main window's navigation list.

#include "editor/drop_target.h"
#include "editor/editor_support.h"

namespace tagloom {
namespace {

using namespace test;

class Gathering : public SessionTest {
 protected:
  DropTarget target;
};

TEST_F(Gathering, ClearingTakesTheLastDropOrEverythingAndADropWithoutPhotographsEndsTheLast) {
  EXPECT_EQ(target.labCounter, "0 Photos");
  target.DropFiles(Photos("a", 3));
  target.DropFiles(Photos("b", 2));
  EXPECT_EQ(target.labCounter, "5 Photos");
  target.Clear(ClearChoice::kNone);  // the dialog closed without a choice
  EXPECT_EQ(target.PhotoCount, 5);
  target.Clear(ClearChoice::kLast);
  EXPECT_EQ(target.labCounter, "3 Photos");
  target.Clear(ClearChoice::kLast);  // the last drop is gone: nothing more to take
  EXPECT_EQ(target.PhotoCount, 3);

  // Text files are skipped; the drop still moves the three to the earlier drops.
  target.DropFiles({dir.Write("notes.txt", "x"), dir.Write("a.png", "x")});
  EXPECT_EQ(target.labCounter, "3 Photos");
  target.Clear(ClearChoice::kLast);
  EXPECT_EQ(target.PhotoCount, 3);
  target.Clear(ClearChoice::kAll);
  EXPECT_EQ(target.labCounter, "0 Photos");
  EXPECT_EQ(target.lstPhotoTemp.Count() + target.lstLastDrop.Count(), 0);
}

TEST_F(Gathering, ExitHandsEverythingOverInOrderAndKeepsItForTheNextVisit) {
  const std::vector<std::string> first = Photos("a", 2), second = Photos("b", 1);
  target.DropFiles(first);
  target.DropFiles({first[0]});  // held twice, counted twice
  target.Exit(session);
  EXPECT_EQ(session.lstDragFiles.Count(), 3);
  EXPECT_EQ(session.ImageFileName, first[0]);
  EXPECT_EQ(session.labNum.text, "1/3");

  target.DropFiles(second);
  EXPECT_EQ(target.labCounter, "4 Photos");
  target.Exit(session);
  ASSERT_EQ(session.lstDragFiles.Count(), 4);
  EXPECT_EQ(session.lstDragFiles.Row(1), first[1]);
  EXPECT_EQ(session.lstDragFiles.Row(3), second[0]);

  // Nothing gathered: the list empties and the photograph on show stays.
  target.Clear(ClearChoice::kAll);
  target.Exit(session);
  EXPECT_EQ(session.lstDragFiles.Count(), 0);
  EXPECT_EQ(session.ImageFileName, first[0]);
}

}  // namespace
}  // namespace tagloom
