#include <string>

#include "editor/texts.h"

namespace tagloom::text {

std::string VersionText(int blanksBeforeBuild) {
  return "Version " + std::to_string(TAGLOOM_VERSION_MAJOR) + "." +
         std::to_string(TAGLOOM_VERSION_MINOR) + std::string(blanksBeforeBuild, ' ') + "Build " +
         std::to_string(TAGLOOM_VERSION_PATCH);
}

std::string WindowTitle() {
  return "Tagloom " + VersionText(1) + " - Vantoro Studio.";
}

}  // namespace tagloom::text
