// tagloom-cli show: each photograph opened as the editor opens it, and what
// the editor would show, printed in the order given.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <thread>
#include <vector>

#include "cli/commands.h"
#include "cli/photo_report.h"
#include "cli/terminal_host.h"
#include "editor/quiet_host.h"
#include "editor/session.h"

namespace tagloom::cli {
namespace {

// Keeps one photograph's messages, to be printed in the order of the photographs.
class CollectingHost : public QuietHost {
 public:
  std::string subject;
  std::string messages;

  void Tell(std::string_view text, std::string_view title, MessageIcon) override {
    messages += MessageLine(subject, text, title);
  }
};

struct Shown {
  std::string report;
  std::string messages;
  bool found = false;
};

// One reader: a Session of its own, reused from photograph to photograph as
// the editor reuses its window.
class Reader {
 public:
  Reader() : session_(host_) {}

  void Show(const std::string& path, const ShowOptions& options, Shown& shown) {
    host_.subject = path;
    host_.messages.clear();
    session_.DrawImage(path);
    shown.found = session_.PhotoFound();
    shown.messages = host_.messages;
    shown.report.clear();
    if (!shown.found) return;
    if (options.json) {
      AppendReportJson(shown.report, session_, path);
    } else {
      shown.report = ReportText(session_, path, options.inspect);
    }
  }

 private:
  CollectingHost host_;
  Session session_;
};

void Print(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace

int RunShow(const ShowOptions& options) {
  const std::vector<std::string>& photos = options.photos;
  // Photographs are read in batches, several at a time on machines with
  // several cores, and printed in order after each batch.
  constexpr std::size_t kBatch = 256;
  const std::size_t workers =
      photos.size() < 32 ? 1 : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
  std::vector<Reader> readers(workers);
  std::vector<Shown> shown(std::min(kBatch, photos.size()));  // reused: their buffers stay
  static char buffer[1 << 20];  // one large write at a time for megabytes of output
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  int status = kExitOk;
  bool first = true;
  if (options.json) Print(stdout, "[");
  for (std::size_t begin = 0; begin < photos.size(); begin += kBatch) {
    const std::size_t end = std::min(photos.size(), begin + kBatch);
    std::atomic<std::size_t> next{begin};
    auto work = [&](Reader& reader) {
      for (std::size_t i; (i = next.fetch_add(1)) < end;)
        reader.Show(photos[i], options, shown[i - begin]);
    };
    std::vector<std::thread> threads;
    for (std::size_t w = 1; w < workers; ++w) threads.emplace_back(work, std::ref(readers[w]));
    work(readers[0]);
    for (std::thread& thread : threads) thread.join();

    for (std::size_t i = 0; i < end - begin; ++i) {
      const Shown& one = shown[i];
      if (!one.messages.empty()) {
        std::fflush(stdout);
        Print(stderr, one.messages);
      }
      if (!one.found) {
        status = kExitFailed;
        continue;
      }
      if (options.json) {
        Print(stdout, first ? "\n" : ",\n");
      } else if (!first) {
        Print(stdout, "\n");
      }
      Print(stdout, one.report);
      first = false;
    }
  }
  if (options.json) Print(stdout, first ? "]\n" : "\n]\n");
  // A report that could not be written out (a full disk, a closed pipe) is no report.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "tagloom-cli: cannot write the report: %s\n", std::strerror(errno));
    return kExitFailed;
  }
  return status;
}

}  // namespace tagloom::cli
