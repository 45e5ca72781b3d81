// Many safe replacements made durable together, as a batch of backups needs:
// each new content is written under its temporary name without a sync of its
// own; Commit syncs the file system once, then renames every file over its
// target and syncs their folders. Every target holds its whole old or whole
// new content at every instant, as with one replacement, for two syncs in
// all instead of two for each file.
#pragma once

#include <memory>
#include <vector>

#include "writer/file_replacer.h"
#include "writer/file_system.h"

namespace tagloom {

class ReplaceGroup {
 public:
  explicit ReplaceGroup(FileSystem& fs) : fs_(fs) {}

  // Takes over a replacement whose temporary file is written and finished
  // without a sync (Finish(false)).
  void Add(std::unique_ptr<FileReplacer> replacer);
  std::size_t Size() const { return pending_.size(); }

  struct Failed {
    std::size_t index;  // in the order of Add since the last Commit
    FileFailure failure;
  };
  // Makes every added replacement durable and swaps it in; returns those that
  // could not be, whose targets keep their old content.
  std::vector<Failed> Commit();

 private:
  FileSystem& fs_;
  std::vector<std::unique_ptr<FileReplacer>> pending_;
};

}  // namespace tagloom
