// The splice: a photograph gets an APP1 segment in place of its own EXIF
// segments; every other byte is copied unchanged.
//
// New photograph: start of image, the segment (with the two zero bytes a
// built segment lacks), then the photograph from its third byte on without
// the APP1 segments that carry EXIF among its header segments.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "reader/read_calls.h"
#include "reader/read_channel.h"
#include "writer/write_result.h"

namespace tagloom {

// Receives the new photograph's bytes in order; false stops the splice.
using SpliceSink = std::function<bool(std::string_view)>;

// Feeds `sink` the new photograph made of `photo` and `segment` (complete).
// False when the photograph cannot be read to its end or the sink refuses.
// `progress`, when given, counts the photograph's bytes after its first two.
bool EmitSplice(ReadChannel& photo, std::string_view segment, const SpliceSink& sink,
                CopyProgress* progress);

// A segment as it goes into a photograph: a built one gets the two zero bytes
// its length field counts beyond its end.
std::string Completed(std::string_view segment);

// The backup file's segment, completed; nullopt (and why, in `result`) when
// the file is missing, damaged or cannot be read.
std::optional<std::string> BackupSegment(const std::string& backupPath, ReadCalls& calls,
                                         WriteResult& result);

}  // namespace tagloom
