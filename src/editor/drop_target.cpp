#include "editor/drop_target.h"

#include "editor/photo_list.h"
#include "editor/session.h"
#include "model/number_text.h"
#include "model/path_name.h"

namespace tagloom {

void DropTarget::ShowPic() {
  labCounter = IntegerText(PhotoCount) + " Photos";
}

void DropTarget::MovePic() {
  for (int i = 0; i < lstLastDrop.Count(); ++i) lstPhotoTemp.Append(lstLastDrop.Row(i));
  lstLastDrop.Clear();
}

void DropTarget::DropFiles(const std::vector<std::string>& paths) {
  if (lstLastDrop.Count() > 0) MovePic();
  for (const std::string& path : WithFoldersOpened(paths)) {
    if (IsPhotoFile(path) && lstLastDrop.Append(path)) ++PhotoCount;
  }
  ShowPic();
}

void DropTarget::Clear(ClearChoice choice) {
  switch (choice) {
    case ClearChoice::kNone:
      return;
    case ClearChoice::kLast:
      PhotoCount -= lstLastDrop.Count();
      lstLastDrop.Clear();
      break;
    case ClearChoice::kAll:
      PhotoCount = 0;
      lstLastDrop.Clear();
      lstPhotoTemp.Clear();
      break;
  }
  ShowPic();
}

void DropTarget::Exit(Session& main) {
  MovePic();
  main.lstDragFiles.Clear();
  for (int i = 0; i < lstPhotoTemp.Count(); ++i) main.lstDragFiles.Append(lstPhotoTemp.Row(i));
  main.DoDrop();
}

}  // namespace tagloom
