// Why something could not be done, in the person's words: the one place
// where a typed failure (of an open, a read, a write, a backup name) becomes
// the text a message, a run's outcome or the command line shows.
#pragma once

#include <string>

#include "reader/backup_place.h"
#include "reader/read_channel.h"
#include "writer/write_result.h"

namespace tagloom {

// A photograph that could not be opened: missing, not a file, not readable.
std::string OpenProblemText(const OpenFailure& failure, const std::string& path);

// A read of an open file that failed: the system's error, or 0 for a file
// that ended before its length.
std::string ReadFailureText(int error, const std::string& path);

// Why the file at the backup name cannot keep a photograph's block.
std::string BackupPlaceText(const BackupPlaceCheck& check, const std::string& backupPath);

// Why a write, restore or backup came to nothing.
std::string WriteFailureText(const WriteResult& result, const std::string& photoPath,
                             const std::string& backupPath);

}  // namespace tagloom
