// The splice: a photograph gets the APP1 segment held in a backup file in
// place of its own EXIF segments; every other byte is copied unchanged.
//
// New photograph: start of image, the backup's segment (with the two zero
// bytes a built segment lacks), then the photograph from its third byte on
// without the APP1 segments that carry EXIF among its header segments.
#pragma once

#include <string>

#include "writer/file_system.h"
#include "writer/write_result.h"

namespace tagloom {

// Checks the backup file before any byte of the photograph moves, writes the
// new photograph under its temporary name, syncs it, reads it back to verify
// it, and swaps it in. Any failure leaves the photograph as it was.
WriteResult SpliceExifSegment(const std::string& photoPath, const std::string& backupPath,
                              FileSystem& fs, CopyProgress& progress);

}  // namespace tagloom
