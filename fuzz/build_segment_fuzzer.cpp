// Any field texts, converted back and built into a segment: the build either
// refuses cleanly or gives a segment that reads back with the texts written.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <span>

#include "model/edit_back.h"
#include "reader/exif_block.h"
#include "writer/exif_segment.h"

using namespace tagloom;

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool PlainText(std::string_view text) {
  for (char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  RecordStore store;
  store.Reset();
  store.lstPosition.Set(row::kOrientation, "9");
  store.lstValue.Set(row::kOrientation, input.ConsumeRandomLengthString(4));
  std::array<std::string, kFieldCount> fields;
  for (std::string& field : fields) field = input.ConsumeRandomLengthString(4096);

  DirectoryCounts counts;
  if (RestoreValue(fields, store, counts)) return 0;  // a number that does not fit: refused
  BuiltSegment built = AssembleExifSegment(store);
  if (built.error != BuildError::kNone) return 0;
  const std::string& segment = built.bytes;
  if (segment.size() > 65535) abort();
  if (static_cast<std::size_t>(static_cast<std::uint8_t>(segment[2]) * 256 +
                               static_cast<std::uint8_t>(segment[3])) != segment.size()) {
    abort();
  }

  // Read the built segment back as the reader reads a photograph.
  std::string jpeg = "\xFF\xD8" + segment + std::string(2, '\0');
  ReadChannel channel(std::span<const std::uint8_t>(
      reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size()));
  channel.Seek(5);
  RecordStore read;
  read.Reset();
  ExifBlockLayout layout;
  if (!ReadExifDataFromFile(channel, read, layout)) abort();
  // Make, Model, Software and Copyright read back exactly as typed.
  for (int field = 0; field < 4; ++field) {
    std::string_view typed = Trimmed(fields[static_cast<std::size_t>(field)]);
    if (!PlainText(typed)) continue;
    if (read.lstValue.Row(FieldRow(field)) != typed) abort();
  }
  return 0;
}
