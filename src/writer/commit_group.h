// Changes staged under temporary names and made durable together: a list
// run writes a group of photographs (their new files and new backups)
// without a sync each, then one sync of each file system holding them makes
// all of them durable, then each takes its name and each folder is synced
// once. Every file holds its whole old or whole new content at every
// instant, as with one write, for about two syncs a group instead of two a
// photograph. A run may launch one group's sync and stage the next group
// while the disk takes it. One change alone, synced as it was staged, is a
// group too.
#pragma once

#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "writer/file_system.h"
#include "writer/write_result.h"

namespace tagloom {

// One change staged under temporary names, to be put in place by a group.
class Staged {
 public:
  virtual ~Staged() = default;
  // Whether its temporary files were synced as they were written.
  virtual bool Synced() const = 0;
  // Its temporary files, which a sync must cover before the swap.
  virtual std::vector<std::string> TempPaths() const = 0;
  // Puts it in place, its folder not yet synced; false (see Result) when it
  // cannot be, and then it leaves what it changes as it was.
  virtual bool Commit() = 0;
  // The files it put in place, whose folders the group syncs.
  virtual std::vector<std::string> Targets() const = 0;
  // Once its folders are synced: removes what it parked, lets its locks go.
  virtual void Settle() = 0;
  virtual const WriteResult& Result() const = 0;
};

class CommitGroup {
 public:
  explicit CommitGroup(FileSystem& fs) : fs_(fs) {}
  // Waits until what the finished changes held is let go (see Finish).
  ~CommitGroup();
  CommitGroup(const CommitGroup&) = delete;
  CommitGroup& operator=(const CommitGroup&) = delete;

  void Add(std::unique_ptr<Staged> staged) { staged_.push_back(std::move(staged)); }
  std::size_t Size() const { return staged_.size(); }

  // Starts the sync that makes the staged changes durable, on a thread of
  // its own, and empties the group for the next ones. What was launched
  // before must be finished first.
  void Launch();
  // How many launched changes wait for Finish.
  std::size_t LaunchedSize() const { return launched_.size(); }
  // Waits for the launched sync, then puts each launched change in place and
  // syncs their folders; returns each one's result, in the order they were
  // added. A failed sync fails every change it was to cover; a failed swap
  // only its own. `wait`, when given, runs every few milliseconds while the
  // sync is under way (a window stays responsive). The changes put in place
  // let go of the files they replaced on a thread of their own, meanwhile the
  // next group is staged: the last close of a replaced photograph frees its
  // blocks, which waits for the disk where it discards them.
  std::vector<WriteResult> Finish(const std::function<void()>& wait = {});
  // Launch and Finish in one.
  std::vector<WriteResult> Commit(const std::function<void()>& wait = {}) {
    Launch();
    return Finish(wait);
  }

 private:
  FileSystem& fs_;
  std::vector<std::unique_ptr<Staged>> staged_;
  std::vector<std::unique_ptr<Staged>> launched_;
  std::future<FileFailure> syncing_;  // valid while the launched sync runs
  std::future<void> retiring_;        // valid while finished changes are let go
};

}  // namespace tagloom
