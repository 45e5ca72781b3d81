// The window's pictures, drawn here: the two status lamps, the folder of the
// open button, the camera of the drop-target button, the program's icon.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tagloom::ui {

// A lamp of 118 x 38 pixels: a round lamp and a label of two lines. Unlit:
// dark green lamp and label; lit: bright green lamp, red label.
QPixmap LampPicture(const QString& line1, const QString& line2, bool lit);

QIcon FolderIcon();
QIcon CameraIcon();
QIcon ProgramIcon();

}  // namespace tagloom::ui
