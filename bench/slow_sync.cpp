// A slow memory card, for any program started with this library in
// LD_PRELOAD: each fsync, fdatasync and syncfs waits 20 ms before it runs,
// as a card's flush does, so that a run's cost in syncs shows as it would
// there and not as on a fast disk's cache.
#include <dlfcn.h>
#include <time.h>

#include <cerrno>

namespace {

constexpr long kDelayNanoseconds = 20'000'000;

void WaitLikeACard() {
  timespec left{0, kDelayNanoseconds};
  while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

// The real calls, past this library, looked up as it loads (before any
// thread of the program can call them).
using SyncCall = int (*)(int);
SyncCall Real(const char* name) {
  return reinterpret_cast<SyncCall>(::dlsym(RTLD_NEXT, name));
}
const SyncCall realFsync = Real("fsync");
const SyncCall realFdatasync = Real("fdatasync");
const SyncCall realSyncfs = Real("syncfs");

}  // namespace

extern "C" {

int fsync(int fd) {
  WaitLikeACard();
  return realFsync(fd);
}

int fdatasync(int fd) {
  WaitLikeACard();
  return realFdatasync(fd);
}

int syncfs(int fd) {
  WaitLikeACard();
  return realSyncfs(fd);
}

}  // extern "C"
