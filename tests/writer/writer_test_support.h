// Shared by the writer's tests: the record store a write builds from.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <utility>

#include "model/edit_back.h"

namespace tagloom::test {

// The store the fields give after the edit-back conversion of a write.
inline RecordStore Restored(std::initializer_list<std::pair<int, std::string>> texts) {
  std::array<std::string, kFieldCount> fields{};
  for (const auto& [field, text] : texts) fields[static_cast<std::size_t>(field)] = text;
  RecordStore store;
  store.Reset();
  DirectoryCounts counts;
  EXPECT_FALSE(RestoreValue(fields, store, counts));
  return store;
}

}  // namespace tagloom::test
