// The floor of a safe photograph write: copy the photograph into a temporary
// file beside it, sync it, rename it over the photograph.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: floor_write PHOTO\n");
    return 2;
  }
  std::string photo = argv[1];
  std::string temp = photo + ".floor";
  int in = ::open(photo.c_str(), O_RDONLY);
  int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0) return 1;
  std::vector<char> block(1 << 20);
  for (ssize_t got; (got = ::read(in, block.data(), block.size())) > 0;) {
    if (::write(out, block.data(), static_cast<std::size_t>(got)) != got) return 1;
  }
  if (::fsync(out) != 0 || ::close(out) != 0) return 1;
  ::close(in);
  return ::rename(temp.c_str(), photo.c_str()) == 0 ? 0 : 1;
}
