// The Session's ways to a photograph: the open dialog, a drop on the picture,
// the list handed over by the drop target, and the navigation buttons; every
// one ends in DrawImage.
#include <algorithm>
#include <utility>

#include "editor/photo_list.h"
#include "editor/preview_geometry.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "model/number_text.h"
#include "model/path_name.h"
#include "reader/file_identity.h"

namespace tagloom {

bool Session::DrawImage(const std::string& path) {
  Text1 = path;
  return DrawImage();
}

bool Session::DrawImage() {
  const std::string path = Text1;
  Image1.visible = false;
  std::optional<PictureSize> size = host_.LoadPreview(path);
  Image1.path = size ? path : std::string();
  if (size) {
    Image1.place = PlacePreview(size->width, size->height);
    Image1.visible = true;
  }
  GetExifData();
  BackupButtonShown = cmdBackup.visible;
  // One message: a photograph that is not there has been told about already.
  if (!size && photoFound_ && !chkBatch) {
    host_.Tell(std::string(text::kCannotShowPicture) + path, text::kAppTitle,
               MessageIcon::kWarning);
  }
  return size.has_value();
}

void Session::SetBatch(bool ticked) {
  chkBatch = ticked;
  chkBatch_Click();
}

void Session::SetNavigate() {
  const int count = lstDragFiles.Count();
  labNum.text = IntegerText(FileIndex) + "/" + IntegerText(count);
  for (ControlState& button : cmdNavigate) button.enabled = true;
  if (FileIndex == 1) cmdNavigate[0].enabled = cmdNavigate[1].enabled = false;
  if (FileIndex == count) cmdNavigate[2].enabled = cmdNavigate[3].enabled = false;
}

void Session::TakeOverList() {
  FileIndex = 1;
  SetNavigate();
  for (ControlState& button : cmdNavigate) button.visible = true;
  labNum.visible = true;
  SetBatch(false);
  chkBatchControl.enabled = lstDragFiles.Count() >= 2;
  DrawImage(lstDragFiles.Row(0));
}

void Session::DoDrop() {
  ActionGuard action(*this);
  if (action && lstDragFiles.Count() > 0 && MayLeavePhoto()) TakeOverList();
}

void Session::Image1_DropFiles(const std::vector<std::string>& paths) {
  ActionGuard action(*this);
  if (!action || paths.empty()) return;
  std::vector<std::string> photos;
  for (std::string& path : WithFoldersOpened(paths)) {
    if (IsPhotoFile(path)) photos.push_back(std::move(path));
  }
  // A drop without photographs leaves the list and the photograph on show.
  if (photos.empty() || !MayLeavePhoto()) return;
  lstDragFiles.Clear();
  for (const std::string& photo : photos) lstDragFiles.Append(photo);
  TakeOverList();
}

void Session::HandOver(const std::vector<std::string>& paths) {
  handedOver_.insert(handedOver_.end(), paths.begin(), paths.end());
}

bool Session::TakeHandOver() {
  if (working_ || handedOver_.empty()) return false;
  std::vector<std::string> paths = std::exchange(handedOver_, {});
  // Names that lead nowhere (a photograph since removed, a mistyped name)
  // do not cost the person the list being worked on.
  std::erase_if(paths, [](const std::string& path) { return !IdentityOfPath(path); });
  if (paths.empty()) {
    host_.Tell(text::kNoImageFile, text::kAppTitle, MessageIcon::kNone);
    return true;
  }
  Image1_DropFiles(paths);
  return true;
}

void Session::cmdOpen_Click(const std::vector<std::string>& chosen) {
  if (chosen.size() >= 2) {
    // Several chosen become the list in natural order, as a folder's do.
    std::vector<std::string> sorted = chosen;
    std::stable_sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
      return NaturalLess(FileNameOf(a), FileNameOf(b));
    });
    return Image1_DropFiles(sorted);
  }
  ActionGuard action(*this);
  if (!action) return;
  if (!chosen.empty()) {
    if (!MayLeavePhoto()) return;
    FileIndex = 1;
    SetNavigate();
    DrawImage(chosen.front());
  }
  SetBatch(false);
  chkBatchControl.enabled = false;
}

void Session::cmdNavigate_Click(int index) {
  ActionGuard action(*this);
  if (!action || index < 0 || index >= static_cast<int>(cmdNavigate.size())) return;
  const ControlState& button = cmdNavigate[static_cast<std::size_t>(index)];
  if (!button.visible || !button.enabled) return;  // out of the list's range
  if (!MayLeavePhoto()) return;
  switch (index) {
    case 0:
      FileIndex = 1;
      break;
    case 1:
      --FileIndex;
      break;
    case 2:
      ++FileIndex;
      break;
    default:
      FileIndex = lstDragFiles.Count();
  }
  Text1 = lstDragFiles.Row(FileIndex - 1);
  SetNavigate();
  DrawImage();
}

void Session::Image1_DblClick() {
  if (!ImageFileName.empty()) host_.OpenExternally(ImageFileName);
}

}  // namespace tagloom
