#include "writer/interrupt_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>

namespace tagloom {
namespace {

// A batch holds a few hundred temporary files at once; each slot holds a path
// allocated outside the handler, so that the handler only reads and unlinks.
std::array<std::atomic<char*>, 1024> slots;

void RemoveAndEnd(int signal) {
  for (std::atomic<char*>& slot : slots) {
    if (char* path = slot.load()) ::unlink(path);
  }
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

void RegisterTemporaryFile(const std::string& path) {
  char* copy = ::strdup(path.c_str());
  for (std::atomic<char*>& slot : slots) {
    char* empty = nullptr;
    if (slot.compare_exchange_strong(empty, copy)) return;
  }
  std::free(copy);  // more files than slots: this one stays after an interrupt
}

void UnregisterTemporaryFile(const std::string& path) {
  for (std::atomic<char*>& slot : slots) {
    char* held = slot.load();
    if (held != nullptr && path == held && slot.compare_exchange_strong(held, nullptr)) {
      std::free(held);
      return;
    }
  }
}

void RemoveTemporaryFilesOnInterrupt() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    ::sigaction(signal, nullptr, &current);
    if (current.sa_handler != SIG_DFL) continue;  // ignored on purpose (nohup) or taken
    struct sigaction action {};
    action.sa_handler = RemoveAndEnd;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace tagloom
