// The ways to a photograph: the open dialog, a drop on the picture, the list
// the drop target gathers and hands over, the navigation buttons and the counter.

#include "editor/drop_target.h"
#include "editor/editor_support.h"
#include "editor/preview_geometry.h"
#include "model/path_name.h"

namespace tagloom {
namespace {

using namespace test;

class SessionNavigate : public SessionTest {
 protected:
  // The navigation buttons' enabled states and the counter, as "01 1/2" shows them.
  std::string Navigation() const {
    std::string shown;
    for (const ControlState& button : session.cmdNavigate) shown += button.enabled ? "1" : "0";
    return shown + " " + session.labNum.text + (session.labNum.visible ? "" : " hidden");
  }
};

// A picture scaled to fill its 3200-twip box along its longer side and centred
// along the other; the products are 64-bit.
TEST(PreviewGeometry, FillsTheBoxAlongTheLongerSide) {
  using Place = std::tuple<double, double, double, double>;  // left, top, width, height
  using Case = std::tuple<std::int64_t, std::int64_t, Place>;
  for (const auto& [w, h, placed] :
       std::initializer_list<Case>{{1600, 1200, {120, 580, 3200, 2400}},
                                   {1200, 1600, {520, 180, 2400, 3200}},
                                   {500, 500, {120, 180, 3200, 3200}},
                                   {0, 0, {120, 180, 3200, 3200}},
                                   {3'000'000'000, 1'500'000'000, {120, 980, 3200, 1600}}}) {
    const PreviewPlacement place = PlacePreview(w, h);
    EXPECT_EQ(Place(place.left, place.top, place.width, place.height), placed) << w << " x " << h;
  }
}

// Only photographs join the list, in the order of the drop; the first is
// shown, its picture placed. The buttons step through the list and stop at
// its ends; a picture that cannot be loaded is told once; a drop without a
// photograph changes nothing.
TEST_F(SessionNavigate, ADropKeepsThePhotographsInOrderAndTheButtonsStepThroughThem) {
  const std::vector<std::string> photos = Photos("Camera ", 4);
  host.picture = PictureSize{1200, 1600};
  session.Image1_DropFiles({dir.Write("notes.txt", "x"), photos[0], dir.File("a.png"), photos[1],
                            dir.File("folder.d/photo"), photos[2], photos[3]});
  EXPECT_EQ(Navigation(), "0011 1/4");
  EXPECT_TRUE(session.chkBatchControl.enabled && session.cmdNavigate[3].visible);
  EXPECT_EQ(session.Image1.path + " " + session.txtExif[0], photos[0] + " Camera 0");
  EXPECT_TRUE(session.Image1.visible);
  EXPECT_EQ(session.Image1.place.left, 520);
  const std::pair<int, const char*> steps[] = {
      {2, "1111 2/4"}, {3, "1100 4/4"}, {2, "1100 4/4"},  // past the end: the button is off
      {1, "1111 3/4"}, {0, "0011 1/4"}, {1, "0011 1/4"}};
  for (const auto& [button, shown] : steps) {
    session.cmdNavigate_Click(button);
    EXPECT_EQ(Navigation(), shown) << button;
    EXPECT_EQ(session.txtExif[0], "Camera " + std::to_string(session.FileIndex - 1));
  }
  // The open dialog leaves the list but starts it at 1 again; a cancel turns batch mode off.
  session.SetBatch(true);
  session.cmdOpen_Click({});
  EXPECT_FALSE(session.chkBatch || session.chkBatchControl.enabled);
  session.cmdNavigate_Click(2);
  session.cmdOpen_Click({dir.Write("other.jpg", PhotoWithExif("Other"))});
  EXPECT_EQ(session.txtExif[0] + " " + Navigation(), "Other 0011 1/4");
  host.picture = std::nullopt;
  host.messages.clear();
  session.cmdNavigate_Click(2);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, std::string(text::kCannotShowPicture) + photos[1]);
  EXPECT_FALSE(session.Image1.visible);
  EXPECT_EQ(session.txtExif[0], "Camera 1");
  session.Image1_DropFiles({dir.File("notes.txt")});
  session.Image1_DropFiles({});
  EXPECT_EQ(Navigation(), "1111 2/4");
  session.Image1_DblClick();
  EXPECT_EQ(host.opened, std::vector<std::string>{photos[1]});
}

// A folder brings the photographs directly inside it, by name in natural
// order, hidden ones and subfolders left out; so does the open dialog's
// choice of several. A list handed over by another start waits while an
// action is under way, then is taken as a drop.
TEST_F(SessionNavigate, FoldersOpenInNaturalOrderAndAHandOverWaitsForTheActionUnderWay) {
  TempDir folder;
  for (const char* name : {"IMG_10.jpg", "IMG_2.jpg", "img_3.JPG", ".hidden.jpg", "IMG_02.jpg"}) {
    folder.Write(name, PhotoWithExif(name));
  }
  folder.Write("notes.txt", "x");
  std::filesystem::create_directory(folder.Path() / "sub");
  folder.Write("sub/IMG_1.jpg", PhotoWithExif());
  const std::string loose = dir.Write("loose.jpg", PhotoWithExif("loose"));
  auto names = [&] {
    std::string listed;
    for (int i = 0; i < session.lstDragFiles.Count(); ++i) {
      listed += std::string(FileNameOf(session.lstDragFiles.Row(i))) + " ";
    }
    return listed;
  };
  session.Image1_DropFiles({folder.Path().string(), loose});
  EXPECT_EQ(names(), "IMG_02.jpg IMG_2.jpg img_3.JPG IMG_10.jpg loose.jpg ");
  session.cmdOpen_Click({loose, folder.File("IMG_2.jpg")});
  EXPECT_EQ(names() + Navigation(), "IMG_2.jpg loose.jpg 0011 1/2");

  Open(dir.Write("big.jpg", PhotoWithExif("Big", 6'000'000)));
  std::vector<bool> taken;
  host.onYield = [&] {
    session.HandOver({loose});
    taken.push_back(session.TakeHandOver());
  };
  session.SetFieldText(0, "Written");
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
  host.onYield = nullptr;
  ASSERT_FALSE(taken.empty()) << "the write let the window breathe nowhere";
  EXPECT_EQ(std::count(taken.begin(), taken.end(), true), 0) << "hand-overs taken during the write";
  EXPECT_EQ(names(), "IMG_2.jpg loose.jpg ") << "a hand-over ran inside the write";
  EXPECT_TRUE(session.TakeHandOver());
  EXPECT_EQ(std::string(FileNameOf(session.lstDragFiles.Row(0))), "loose.jpg");
  EXPECT_EQ(session.lstDragFiles.Count(), static_cast<int>(taken.size()));
  EXPECT_FALSE(session.TakeHandOver()) << "nothing is left waiting";
}

// Edits typed and not written are never lost unasked: stepping to the next
// photograph, or a hand-over, asks first; staying keeps them, writing writes
// them, dropping them goes on. A ticked keep box carries its area on, and
// then nothing is asked. A hand-over of names that lead nowhere keeps the list.
TEST_F(SessionNavigate, TypedEditsAreNeverLostUnasked) {
  const std::vector<std::string> list = Photos("frame", 3);
  session.Image1_DropFiles(list);
  session.SetFieldText(1, "Typed");
  host.editsAnswers = {EditsAnswer::kStay, EditsAnswer::kWrite, EditsAnswer::kDiscard};
  session.cmdNavigate_Click(2);
  EXPECT_EQ(session.labNum.text + " " + session.txtExif[1], "1/3 Typed") << "stayed";
  session.cmdNavigate_Click(2);
  EXPECT_EQ(session.labNum.text, "2/3");
  RecordingHost quiet;
  Session reader(quiet);
  reader.GetExifData(list[0]);
  EXPECT_EQ(reader.txtExif[1], "Typed") << "written before leaving";
  session.SetFieldText(1, "Dropped");
  session.HandOver({list[2]});
  EXPECT_TRUE(session.TakeHandOver());
  EXPECT_EQ(session.ImageFileName, list[2]);
  EXPECT_EQ(host.editsAsked.size(), 3u);

  session.SetKeep(kAreaCamera, true);
  session.SetFieldText(1, "Carried");
  session.HandOver({dir.File("nowhere.jpg")});
  EXPECT_TRUE(session.TakeHandOver());
  EXPECT_EQ(session.lstDragFiles.Row(0), list[2]) << "names that lead nowhere keep the list";
  session.HandOver({list[0]});
  EXPECT_TRUE(session.TakeHandOver());
  EXPECT_EQ(host.editsAsked.size(), 3u) << "asked although a keep box carries the area";
}

TEST_F(SessionNavigate, TheDropTargetClearsTheLastDropOrAllAndExitHandsEverythingOverInOrder) {
  DropTarget target;
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

  // Exit hands everything over in order and keeps it for the next visit.
  const std::vector<std::string> first = Photos("c", 2), second = Photos("d", 1);
  target.DropFiles(first);
  target.DropFiles({first[0]});  // held twice, counted twice
  target.Exit(session);
  EXPECT_EQ(session.ImageFileName + " " + session.labNum.text, first[0] + " 1/3");

  target.DropFiles(second);
  EXPECT_EQ(target.labCounter, "4 Photos");
  target.Exit(session);
  ASSERT_EQ(session.lstDragFiles.Count(), 4);
  EXPECT_EQ(session.lstDragFiles.Row(1), first[1]);
  EXPECT_EQ(session.lstDragFiles.Row(3), second[0]);
}

}  // namespace
}  // namespace tagloom
