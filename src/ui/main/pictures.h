// The program's pictures, drawn here: the two status lamps, the folder of the
// open button, the camera of the drop target and its button, the splash
// screen's backdrop, the program's icon.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tagloom::ui {

// A lamp of 118 x 38 pixels: a round lamp and a label of two lines. Unlit:
// dark green lamp and label; lit: bright green lamp, red label.
QPixmap LampPicture(const QString& line1, const QString& line2, bool lit);

// The camera alone, centred in a picture of the given size (device-independent pixels).
QPixmap CameraPicture(int width, int height);
// The splash screen's backdrop: a night-blue field with a large lens.
QPixmap SplashPicture(int width, int height);

QIcon FolderIcon();
QIcon CameraIcon();
QIcon ProgramIcon();

}  // namespace tagloom::ui
