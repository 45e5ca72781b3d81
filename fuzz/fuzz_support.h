// Shared pieces of the fuzzing harnesses: scratch files and findings.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "writer/write_result.h"

namespace tagloom::fuzz {

// A long copy that nobody watches.
struct NoProgress : CopyProgress {
  void Start(std::int64_t) override {}
  void Advance(std::int64_t) override {}
};

// A folder of this process for scratch files (in memory where possible).
std::string ScratchFolder();

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size);
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadWholeFile(const std::string& path);

// A finding: stop with a message libFuzzer reports as a crash.
[[noreturn]] void Finding(const char* what);

}  // namespace tagloom::fuzz
