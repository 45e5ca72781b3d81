// Reading a photograph's EXIF block, one file after another in one process:
// Tagloom (the editor's read with the display conversion), libexif, exiv2,
// the floor (open, read 4 KiB, close) and the floor with the system calls of
// Tagloom's checks. The corpus folder is given in the environment as
// TAGLOOM_CORPUS.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <libexif/exif-data.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/quiet_host.h"
#include "editor/session.h"
#include "reader/backup_format.h"
#include "reader/read_channel.h"

namespace {

const std::vector<std::string>& Corpus() {
  static const std::vector<std::string> files = [] {
    std::vector<std::string> found;
    const char* dir = std::getenv("TAGLOOM_CORPUS");
    if (dir == nullptr) return found;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      std::string name = entry.path().filename().string();
      if (name.rfind("small_", 0) == 0 && entry.path().extension() == ".jpg") {
        found.push_back(entry.path().string());
      }
    }
    std::sort(found.begin(), found.end());
    return found;
  }();
  return files;
}

// Runs `read` on every file of the corpus in turn, one file per iteration.
template <typename Read>
void OverCorpus(benchmark::State& state, Read read) {
  const auto& files = Corpus();
  if (files.empty()) {
    state.SkipWithError("no corpus: set TAGLOOM_CORPUS");
    return;
  }
  std::size_t i = 0;
  for (auto _ : state) {
    read(files[i]);
    if (++i == files.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}

void ReadTagloom(benchmark::State& state) {
  tagloom::QuietHost host;
  tagloom::Session session(host);
  OverCorpus(state, [&](const std::string& path) {
    session.GetExifData(path);
    benchmark::DoNotOptimize(session.txtExif[0].data());
  });
}

void ReadLibexif(benchmark::State& state) {
  OverCorpus(state, [](const std::string& path) {
    ExifData* data = exif_data_new_from_file(path.c_str());
    benchmark::DoNotOptimize(data);
    if (data != nullptr) exif_data_unref(data);
  });
}

void ReadExiv2(benchmark::State& state) {
  OverCorpus(state, [](const std::string& path) {
    auto image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    benchmark::DoNotOptimize(image->exifData().count());
  });
}

void ReadFloor(benchmark::State& state) {
  OverCorpus(state, [](const std::string& path) {
    char buffer[4096];
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(::read(fd, buffer, sizeof buffer));
    ::close(fd);
  });
}

// The system calls Tagloom's read makes and needs: the photograph opened
// without blocking, checked to be a regular file, the backup file looked for
// (for its lamp), one read, close.
void ReadFloorWithChecks(benchmark::State& state) {
  OverCorpus(state, [](const std::string& path) {
    char buffer[4096];
    struct stat info {};
    const int fd = tagloom::OpenRegularFile(path);
    ::stat(tagloom::BackupFileNameFor(path).c_str(), &info);
    benchmark::DoNotOptimize(::pread(fd, buffer, sizeof buffer, 0));
    ::close(fd);
  });
}

}  // namespace

BENCHMARK(ReadTagloom);
BENCHMARK(ReadLibexif);
BENCHMARK(ReadExiv2);
BENCHMARK(ReadFloor);
BENCHMARK(ReadFloorWithChecks);

int main(int argc, char** argv) {
  Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
