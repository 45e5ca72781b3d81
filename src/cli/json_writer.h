// A small streaming JSON writer: tagloom-cli prints tens of megabytes of it
// for a folder of photographs, so it writes straight into one buffer instead
// of building a document first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tagloom::cli {

class JsonWriter {
 public:
  explicit JsonWriter(std::string& out) : out_(out) {}

  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view key);      // a plain identifier, written as it stands
  JsonWriter& String(std::string_view text);  // UTF-8, escaped as JSON asks
  JsonWriter& Number(std::int64_t number);
  JsonWriter& Bool(bool value);

 private:
  void Separate();  // a comma before every value but the first in its container

  std::string& out_;
  bool first_ = true;  // no value yet in the current container
  bool afterKey_ = false;
};

// Appends `text` as a JSON string, quotes included.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace tagloom::cli
