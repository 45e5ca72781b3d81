// Shared pieces of the fuzzing harnesses: a silent Host and scratch files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/host.h"

namespace tagloom::fuzz {

class SilentHost : public Host {
 public:
  bool AskYesNo(std::string_view, std::string_view, MessageIcon) override { return true; }
  void Tell(std::string_view, std::string_view, MessageIcon) override {}
  void ShowBar(bool) override {}
  void InitBar(std::int64_t, std::int64_t) override {}
  void SetBar(std::int64_t) override {}
  void Yield() override {}
  void SetBusy(bool) override {}
  bool LoadPreview(const std::string&) override { return true; }
};

// A folder of this process for scratch files (in memory where possible).
std::string ScratchFolder();

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size);
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadWholeFile(const std::string& path);

// A finding: stop with a message libFuzzer reports as a crash.
[[noreturn]] void Finding(const char* what);

}  // namespace tagloom::fuzz
