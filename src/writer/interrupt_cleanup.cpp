#include "writer/interrupt_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace tagloom {
namespace {

// A batch holds a few hundred temporary files at once; each slot holds a path
// allocated outside the handler, so that the handler only reads and unlinks.
std::array<std::atomic<char*>, 1024> slots;
// Where each path went, and where the search for a free slot starts (a
// batch's files come and go in turn): outside the handler, which reads only
// the slots.
std::mutex registering;
std::unordered_map<std::string, std::size_t> slotOf;
std::size_t nextSlot = 0;

void RemoveAndEnd(int signal) {
  for (std::atomic<char*>& slot : slots) {
    if (char* path = slot.load()) ::unlink(path);
  }
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

void RegisterTemporaryFile(const std::string& path) {
  const std::lock_guard<std::mutex> one(registering);
  if (slotOf.contains(path)) return;  // registered already
  char* copy = ::strdup(path.c_str());
  for (std::size_t tried = 0; tried < slots.size(); ++tried, ++nextSlot) {
    const std::size_t i = nextSlot % slots.size();
    char* empty = nullptr;
    if (slots[i].compare_exchange_strong(empty, copy)) {
      slotOf.emplace(path, i);
      ++nextSlot;
      return;
    }
  }
  std::free(copy);  // more files than slots: this one stays after an interrupt
}

void UnregisterTemporaryFile(const std::string& path) {
  const std::lock_guard<std::mutex> one(registering);
  const auto found = slotOf.find(path);
  if (found == slotOf.end()) return;
  std::free(slots[found->second].exchange(nullptr));
  slotOf.erase(found);
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
