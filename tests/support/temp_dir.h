// A temporary folder that is removed with everything in it at the end of a test.
#pragma once

#include <filesystem>
#include <string>

namespace tagloom::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The full path of `name` inside the folder.
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  // Writes `bytes` to `name` inside the folder; returns its full path.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file ("" when it cannot be read).
std::string ReadFile(const std::string& path);

// Where the real camera photographs for tests are.
inline std::filesystem::path PhotosDir() { return TAGLOOM_PHOTOS_DIR; }

}  // namespace tagloom::test
