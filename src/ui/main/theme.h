// The style of Tagloom's windows. They are laid out at fixed places, measured
// with Fusion's metrics; other styles (adwaita's wider margins and padding)
// would cut their captions. So they use Fusion, with the palette the desktop
// chose, light or dark.
#pragma once

namespace tagloom::ui {

// Call once, after the QApplication is made and before any window.
void UseFixedLayoutStyle();

}  // namespace tagloom::ui
