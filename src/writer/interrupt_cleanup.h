// The temporary files of the writes in progress, removed when the process is
// interrupted (Ctrl-C, SIGTERM, a closed terminal): the photograph itself is
// untouched until its temporary file is complete, so nothing else needs doing.
#pragma once

#include <string>

namespace tagloom {

// Called by the writer: a temporary file it created and holds the lock of,
// and the moment that file stops being its to remove (just before the rename
// that puts it in place, or after removing it).
void RegisterTemporaryFile(const std::string& path);
void UnregisterTemporaryFile(const std::string& path);

// Installs handlers for SIGINT, SIGTERM and SIGHUP (where they have their
// default action) that remove the registered files and then end the process
// as the signal would have.
void RemoveTemporaryFilesOnInterrupt();

}  // namespace tagloom
