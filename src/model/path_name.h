// The parts of a path: the folder it lies in and the file's own name.
#pragma once

#include <string>
#include <string_view>

namespace tagloom {

// The folder of a path: "." for a bare name, "/" for a file in the root.
std::string FolderOf(std::string_view path);

// What follows the path's last "/": the file's own name.
std::string_view FileNameOf(std::string_view path);

// Whether a path names a photograph by its extension: the text from the
// path's last "." on, in any letter case, is ".JPG", ".JPEG" or ".THM".
bool IsPhotoFile(std::string_view path);

}  // namespace tagloom
