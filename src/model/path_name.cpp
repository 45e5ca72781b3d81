#include "model/path_name.h"

namespace tagloom {

std::string FolderOf(std::string_view path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  return slash == 0 ? "/" : std::string(path.substr(0, slash));
}

std::string_view FileNameOf(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsPhotoFile(std::string_view path) {
  std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string extension(path.substr(dot));
  for (char& c : extension) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return extension == ".JPG" || extension == ".JPEG" || extension == ".THM";
}

}  // namespace tagloom
