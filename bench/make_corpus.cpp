// Makes the benchmark corpus: COUNT small photographs with a typical EXIF
// block (half of them big-endian) and one 24-megapixel photograph; or one
// photograph of a given size in megabytes.
//
//   make_corpus DIR COUNT         DIR/small_NNNN.jpg ... and DIR/big.jpg
//   make_corpus --huge MB PATH    one photograph of about MB megabytes
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/fixture_builder.h"

namespace {

using namespace tagloom::test;

// Start of frame: 8-bit, height x width, three components.
std::string StartOfFrame(int width, int height) {
  std::string data = {8,
                      static_cast<char>(height >> 8),
                      static_cast<char>(height & 0xFF),
                      static_cast<char>(width >> 8),
                      static_cast<char>(width & 0xFF),
                      3};
  data += std::string("\x01\x22\x00\x02\x11\x01\x03\x11\x01", 9);
  return data;
}

// A camera-like EXIF block: IFD0 with the usual tags, an Exif IFD of about
// thirty entries with a maker note of a few kilobytes.
std::string TypicalExif(ByteOrder order, int serial) {
  std::string makerNote = "Nikon";
  makerNote += std::string(3, '\0');
  for (int i = 0; makerNote.size() < 3000; ++i)
    makerNote += static_cast<char>((i * 37 + serial) & 0xFF);
  return TiffBuilder(order)
      .Ifd0({Ascii(0x010F, "NIKON CORPORATION"), Ascii(0x0110, "NIKON D750"), Short(0x0112, 1),
             Rational(0x011A, 300, 1), Rational(0x011B, 300, 1), Short(0x0128, 2),
             Ascii(0x0131, "Ver.1.10"),
             Ascii(0x0132, "2021:06:0" + std::to_string(1 + serial % 9) + " 10:11:12"),
             Ascii(0x013B, "Photographer"), Short(0x0213, 2),
             Ascii(0x8298, "Copyright (c) 2021 Photographer")})
      .ExifIfd({Rational(0x829A, 10, 1250),
                Rational(0x829D, 56, 10),
                Short(0x8822, 2),
                Short(0x8827, static_cast<std::uint16_t>(100 + serial % 3200)),
                Undefined(0x9000, "0230"),
                Ascii(0x9003, "2021:06:01 10:11:12"),
                Ascii(0x9004, "2021:06:01 10:11:12"),
                Undefined(0x9101, std::string("\x01\x02\x03\x00", 4)),
                SRational(0x9201, 6965784, 1000000),
                Rational(0x9202, 4970854, 1000000),
                SRational(0x9204, -1, 3),
                Rational(0x9205, 3, 1),
                Rational(0x9206, 250, 100),
                Short(0x9207, 5),
                Short(0x9208, 0),
                Short(0x9209, 16),
                Rational(0x920A, 500, 10),
                Undefined(0x927C, makerNote),
                Undefined(0x9286, std::string("ASCII\0\0\0", 8) + "A walk in the park"),
                Ascii(0x9290, "00"),
                Ascii(0x9291, "00"),
                Ascii(0x9292, "00"),
                Undefined(0xA000, "0100"),
                Short(0xA001, 1),
                Long(0xA002, 6016),
                Long(0xA003, 4016),
                Short(0xA217, 2),
                Undefined(0xA300, std::string("\x03", 1)),
                Undefined(0xA301, std::string("\x01", 1)),
                Short(0xA401, 0),
                Short(0xA402, 0),
                Short(0xA403, 0),
                Rational(0xA404, 1, 1),
                Short(0xA405, 50),
                Short(0xA406, 0),
                Short(0xA408, 0),
                Short(0xA409, 0),
                Short(0xA40A, 0),
                Short(0xA40C, 0)})
      .Build();
}

std::string Photograph(ByteOrder order, int serial, int width, int height, std::size_t imageBytes) {
  return JpegBuilder()
      .App0Jfif()
      .App1Exif(TypicalExif(order, serial))
      .Segment(0xC0, StartOfFrame(width, height))
      .Scan(imageBytes)
      .Build();
}

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--huge") {
    std::size_t megabytes = std::strtoul(argv[2], nullptr, 10);
    Write(argv[3], Photograph(ByteOrder::kLittle, 0, 16000, 12000, megabytes << 20));
    return 0;
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_corpus DIR COUNT | make_corpus --huge MB PATH\n");
    return 2;
  }
  std::filesystem::path dir = argv[1];
  int count = std::atoi(argv[2]);
  std::filesystem::create_directories(dir);
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "small_%04d.jpg", i);
    ByteOrder order = i % 2 ? ByteOrder::kBig : ByteOrder::kLittle;
    Write(dir / name, Photograph(order, i, 640, 480, 40 * 1024));
  }
  // A 24-megapixel photograph: 6000 x 4000, about 10 MB of image data.
  Write(dir / "big.jpg", Photograph(ByteOrder::kLittle, 0, 6000, 4000, 10 << 20));
  return 0;
}
