// The floor of a safe photograph write: copy each photograph into a temporary
// file beside it, sync it, rename it over the photograph.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool Rewrite(const std::string& photo, std::vector<char>& block) {
  const std::string temp = photo + ".floor";
  int in = ::open(photo.c_str(), O_RDONLY);
  int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0) return false;
  for (ssize_t got; (got = ::read(in, block.data(), block.size())) > 0;) {
    if (::write(out, block.data(), static_cast<std::size_t>(got)) != got) return false;
  }
  if (::fsync(out) != 0 || ::close(out) != 0) return false;
  ::close(in);
  return ::rename(temp.c_str(), photo.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: floor_write PHOTO...\n");
    return 2;
  }
  std::vector<char> block(1 << 20);
  for (int i = 1; i < argc; ++i) {
    if (!Rewrite(argv[i], block)) return 1;
  }
  return 0;
}
