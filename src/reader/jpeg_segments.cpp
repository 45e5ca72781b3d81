#include "reader/jpeg_segments.h"

namespace tagloom {
namespace {

// Markers that stand alone, without a length: TEM, RST0 to RST7, SOI, EOI.
bool StandsAlone(std::uint8_t marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= kMarkerEoi);
}

std::uint8_t ByteAt(ReadChannel& channel, std::int64_t offset) {
  channel.Seek(offset + 1);
  return channel.ReadByte();
}

}  // namespace

bool StartsWithSoi(ReadChannel& channel) {
  return channel.Holds(1, 2) && ByteAt(channel, 0) == kMarkerPrefix &&
         ByteAt(channel, 1) == kMarkerSoi;
}

void WalkHeaderSegments(ReadChannel& channel,
                        const std::function<bool(const JpegSegment&)>& visit) {
  if (!channel.Holds(1, 2) || ByteAt(channel, 0) != kMarkerPrefix) return;
  std::uint8_t first = ByteAt(channel, 1);
  std::int64_t offset;
  if (first == kMarkerSoi) {
    offset = 2;
  } else if (first == kMarkerApp1) {
    offset = 0;
  } else {
    return;
  }
  // FF, marker and length: four bytes before any segment can be looked at.
  while (channel.Holds(offset + 1, 4)) {
    if (ByteAt(channel, offset) != kMarkerPrefix) break;
    // A marker may be preceded by fill bytes FF.
    std::int64_t markerAt = offset + 1;
    while (channel.Holds(markerAt + 1, 1) && ByteAt(channel, markerAt) == kMarkerPrefix) ++markerAt;
    if (!channel.Holds(markerAt + 1, 3)) break;
    std::uint8_t marker = ByteAt(channel, markerAt);
    if (marker == 0x00 || marker == kMarkerSos || StandsAlone(marker)) break;
    channel.Seek(markerAt + 2);
    std::int32_t segmentLength = channel.ReadLeng();
    if (segmentLength < 2) break;
    // The segment starts at the FF right before its marker: fill bytes ahead
    // of it belong to no segment, so a reader that seeks offset + 3 stands
    // right after the marker.
    JpegSegment segment;
    segment.marker = marker;
    segment.offset = markerAt - 1;
    segment.size = 2 + segmentLength;
    if (marker == kMarkerApp1 && segmentLength >= 8) {
      segment.carriesExif =
          IsExifSignature(channel.ReadString(static_cast<std::int64_t>(kExifSignature.size())));
    }
    if (!visit(segment)) return;
    offset = segment.offset + segment.size;
  }
}

std::optional<JpegSegment> FindExifSegment(ReadChannel& channel) {
  std::optional<JpegSegment> found;
  WalkHeaderSegments(channel, [&](const JpegSegment& segment) {
    if (segment.carriesExif) found = segment;
    return !found;
  });
  return found;
}

}  // namespace tagloom
