// The Session's ways to a photograph: the open dialog, a drop on the picture,
// the list handed over by the drop target, and the navigation buttons; every
// one ends in DrawImage.
#include <utility>

#include "editor/photo_list.h"
#include "editor/preview_geometry.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "model/number_text.h"
#include "model/path_name.h"

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
  if (action && lstDragFiles.Count() > 0) TakeOverList();
}

void Session::Image1_DropFiles(const std::vector<std::string>& paths) {
  ActionGuard action(*this);
  if (!action || paths.empty()) return;
  lstDragFiles.Clear();
  for (const std::string& path : WithFoldersOpened(paths)) {
    if (IsPhotoFile(path)) lstDragFiles.Append(path);
  }
  if (lstDragFiles.Count() > 0) TakeOverList();
}

void Session::HandOver(const std::vector<std::string>& paths) {
  handedOver_.insert(handedOver_.end(), paths.begin(), paths.end());
}

bool Session::TakeHandOver() {
  if (working_ || handedOver_.empty()) return false;
  Image1_DropFiles(std::exchange(handedOver_, {}));
  return true;
}

void Session::cmdOpen_Click(const std::vector<std::string>& chosen) {
  if (chosen.size() >= 2) return Image1_DropFiles(chosen);
  ActionGuard action(*this);
  if (!action) return;
  if (!chosen.empty()) {
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
