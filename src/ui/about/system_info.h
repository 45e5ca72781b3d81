// The system-information program of the About box: the first of a few
// well-known ones that is installed (looked for on PATH), started detached.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace tagloom::ui {

struct SystemInfoProgram {
  const char* name;
  const char* argument;  // nullptr: none
};

// Looked for in this order: dedicated information tools first, then the
// desktops' own overviews.
inline constexpr std::array<SystemInfoProgram, 6> kSystemInfoPrograms = {{
    {"hardinfo", nullptr},
    {"kinfocenter", nullptr},
    {"gnome-control-center", "info-overview"},
    {"xfce4-about", nullptr},
    {"mate-system-monitor", nullptr},
    {"gnome-system-monitor", nullptr},
}};

// Starts the first program of the list found on PATH; false when none is
// installed or none could be started.
bool StartSystemInfoProgram();

}  // namespace tagloom::ui
