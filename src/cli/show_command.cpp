// tagloom-cli show: each photograph opened as the editor opens it, and what
// the editor would show, printed in the order given.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#endif

#include "cli/commands.h"
#include "cli/list_write.h"
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

  void Tell(std::string_view text, std::string_view title, MessageIcon, std::string_view) override {
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
      shown.report.assign(ReportText(session_, path, options.inspect));
    }
  }

 private:
  CollectingHost host_;
  Session session_;
};

void Print(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

// Runs `work` on a new thread. Linux starts a new thread on its maker's
// processor, where it waits for the scheduler's next balancing tick (4 ms on
// many kernels) while the maker works on: so it is moved to one of the other
// processors at once, and let free from there.
template <typename Work>
std::thread StartElsewhere(Work work) {
#if defined(__linux__)
  cpu_set_t all;
  if (::sched_getaffinity(0, sizeof all, &all) == 0) {
    auto placed = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([work = std::move(work), placed, all] {
      while (!placed->load()) std::this_thread::yield();
      ::pthread_setaffinity_np(::pthread_self(), sizeof all, &all);
      work();
    });
    cpu_set_t others = all;
    if (const int here = ::sched_getcpu(); here >= 0) CPU_CLR(here, &others);
    if (CPU_COUNT(&others) > 0) {
      ::pthread_setaffinity_np(thread.native_handle(), sizeof others, &others);
    }
    placed->store(true);
    return thread;
  }
#endif
  return std::thread(std::move(work));
}

// Photographs are read by several readers at once on machines with several
// cores and printed in the order given. The readers run from the first
// photograph to the last without pausing between batches (a thread that
// sleeps can take milliseconds to wake on a virtual machine), but at most
// `window` photographs ahead of the printing, so memory stays bounded; a
// reader that must wait (for a slow terminal, or for a photograph another
// reader has) sleeps.
class ShowQueue {
 public:
  ShowQueue(const ShowOptions& options, std::size_t window)
      : options_(options), shown_(window), ready_(window) {}

  // A helper reader's whole work: photographs till none is left.
  void Help(Reader& reader) {
    for (;;) {
      const std::size_t printed = printed_.load(std::memory_order_acquire);
      if (ReadNext(reader, printed)) continue;
      if (next_.load() >= options_.photos.size()) return;
      printed_.wait(printed);  // the window is full: till a photograph is printed
    }
  }

  // Photograph i's result; the caller's `reader` reads others meanwhile.
  const Shown& WaitFor(std::size_t i, Reader& reader) {
    std::atomic<bool>& ready = ready_[i % shown_.size()];
    while (!ready.load(std::memory_order_acquire)) {
      if (!ReadNext(reader, printed_.load(std::memory_order_acquire))) ready.wait(false);
    }
    return shown_[i % shown_.size()];
  }

  // Photograph i has been printed: its slot is free for the photograph a window later.
  void Printed(std::size_t i) {
    ready_[i % shown_.size()].store(false, std::memory_order_relaxed);
    printed_.store(i + 1, std::memory_order_release);
    printed_.notify_all();
  }

 private:
  // Reads the next photograph not yet taken, if the window allows; false when
  // there is none to take now.
  bool ReadNext(Reader& reader, std::size_t printed) {
    std::size_t i = next_.load();
    do {
      if (i >= options_.photos.size() || i >= printed + shown_.size()) return false;
    } while (!next_.compare_exchange_weak(i, i + 1));
    std::atomic<bool>& ready = ready_[i % shown_.size()];
    reader.Show(options_.photos[i], options_, shown_[i % shown_.size()]);
    ready.store(true, std::memory_order_release);
    ready.notify_all();
    return true;
  }

  const ShowOptions& options_;
  std::vector<Shown> shown_;  // reused: their buffers stay
  std::vector<std::atomic<bool>> ready_;
  std::atomic<std::size_t> next_{0}, printed_{0};
};

// The fields of every photograph as one table, for a spreadsheet.
int ShowTable(const ShowOptions& options) {
  // Counts what it tells: a photograph that cannot be read makes the status 1.
  class CountingHost : public TerminalHost {
   public:
    int told = 0;
    void Tell(std::string_view text, std::string_view title, MessageIcon icon,
              std::string_view details) override {
      ++told;
      TerminalHost::Tell(text, title, icon, details);
    }
  } host;
  Session session(host);
  const bool printed = PrintReport(session.TableOfFields(options.photos, {}));
  return printed && host.told == 0 ? kExitOk : kExitFailed;
}

}  // namespace

int RunShow(const ShowOptions& options) {
  if (options.csv) return ShowTable(options);
  const std::vector<std::string>& photos = options.photos;
  constexpr std::size_t kWindow = 256;
  const std::size_t workers =
      photos.size() < 32 ? 1 : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
  std::vector<Reader> readers(workers);
  ShowQueue queue(options, std::max<std::size_t>(1, std::min(kWindow, photos.size())));
  std::vector<std::thread> helpers;
  for (std::size_t w = 1; w < workers; ++w) {
    helpers.push_back(StartElsewhere([&queue, &reader = readers[w]] { queue.Help(reader); }));
  }
  static char buffer[1 << 20];  // one large write at a time for megabytes of output
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  int status = kExitOk;
  bool first = true;
  if (options.json) Print(stdout, "[");
  for (std::size_t i = 0; i < photos.size(); ++i) {
    const Shown& one = queue.WaitFor(i, readers[0]);
    if (!one.messages.empty()) {
      std::fflush(stdout);
      Print(stderr, one.messages);
    }
    if (!one.found) {
      status = kExitFailed;
    } else {
      if (options.json) {
        Print(stdout, first ? "\n" : ",\n");
      } else if (!first) {
        Print(stdout, "\n");
      }
      Print(stdout, one.report);
      first = false;
    }
    queue.Printed(i);
  }
  for (std::thread& helper : helpers) helper.join();
  if (options.json) Print(stdout, first ? "]\n" : "\n]\n");
  // A report that could not be written out (a full disk, a closed pipe) is no report.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "tagloom-cli: cannot write the report: %s\n", std::strerror(errno));
    return kExitFailed;
  }
  return status;
}

}  // namespace tagloom::cli
