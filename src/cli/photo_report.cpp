#include "cli/photo_report.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "cli/json_writer.h"
#include "model/number_text.h"
#include "model/pickers.h"
#include "model/value_text.h"

namespace tagloom::cli {

std::string SourceOf(const Session& session) {
  if (session.ExifFromBackup) return "backup";
  if (session.ExifLoaded) return "photo";
  return "none";
}

namespace {

template <std::size_t N>
std::string PickerText(const std::array<std::string_view, N>& items, int selected,
                       const std::string& number) {
  if (selected < 0 || selected >= static_cast<int>(N)) return number;
  std::string_view item = items[static_cast<std::size_t>(selected)];
  if (item.empty()) return number;
  return std::string(item) + " (" + number + ")";
}

// Code point of the UTF-8 sequence at text[i]; i moves past it.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  auto b = static_cast<unsigned char>(text[i++]);
  if (b < 0x80) return b;
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
  char32_t c = b & (0x3F >> extra);
  for (int k = 0; k < extra && i < text.size(); ++k) {
    c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
  }
  return c;
}

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

std::string Padded(std::string_view text, std::size_t width) {
  std::string out(text);
  std::size_t shown = DisplayWidth(text);
  if (shown < width) out.append(width - shown, ' ');
  return out;
}

// A text as a terminal can show it safely: control characters (C0, DEL and
// C1, which values read from damaged files may hold) written as \xNN.
std::string Printable(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    bool c1 = c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
              static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (c < 0x20 || c == 0x7F || c1) {
      if (c1) c = static_cast<unsigned char>(text[++i]);
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// Rows of cells printed as aligned columns; the last column is never padded.
std::string Table(std::vector<std::vector<std::string>> rows) {
  for (auto& row : rows) {
    for (std::string& cell : row) cell = Printable(cell);
  }
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    if (widths.size() < row.size()) widths.resize(row.size());
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
  }
  std::string out;
  for (const auto& row : rows) {
    out += "  ";
    for (std::size_t c = 0; c < row.size(); ++c) {
      out += c + 1 == row.size() ? row[c] : Padded(row[c], widths[c]) + "  ";
    }
    out += "\n";
  }
  return out;
}

std::int64_t RowNumber(const TextList& list, int row) {
  return static_cast<std::int64_t>(list.Number(row));
}

}  // namespace

std::size_t DisplayWidth(std::string_view utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) width += IsWide(NextCodePoint(utf8, i)) ? 2 : 1;
  return width;
}

std::string FieldForPerson(const Session& session, int field) {
  const std::string& text = session.txtExif[static_cast<std::size_t>(field)];
  switch (field) {
    case field::kExposureProgram:
      return PickerText(kExposureProgramItems, session.Combo1, text);
    case field::kMeteringMode:
      return PickerText(kMeteringModeItems, session.Combo2, text);
    case field::kFlash:
      return text.empty() ? text : PickerText(kFlashItems, session.OptFlash, text);
    default:
      return text;
  }
}

std::string ReportText(const Session& session, const std::string& path, bool inspect) {
  std::ostringstream out;
  out << Printable(path) << "\n";
  out << "  source: " << SourceOf(session)
      << "    backup file: " << (session.imgBackupLit ? "exists" : "none") << "\n";
  std::vector<std::vector<std::string>> fields;
  for (int i = 0; i < kFieldCount; ++i) {
    fields.push_back(
        {std::string(kFields[static_cast<std::size_t>(i)].caption), FieldForPerson(session, i)});
  }
  out << Table(fields);
  if (inspect) {
    const RecordStore& s = session.store;
    std::vector<std::vector<std::string>> catalogued = {
        {"Tag", "Pos", "Count", "Type", "VPos", "Name", "Value"}};
    for (int r = 0; r < s.lstTag.Count(); ++r) {
      catalogued.push_back({s.lstTag.Row(r), s.lstPosition.Row(r), s.lstCount.Row(r),
                            s.lstType.Row(r), s.lstValuePos.Row(r), s.lstTitle.Row(r),
                            s.lstValue.Row(r)});
    }
    out << "\n" << Table(catalogued);
    std::vector<std::vector<std::string>> unused = {{"Tag", "Pos", "VPos", "Value"}};
    for (int u = 0; u < s.lstUnuseTag.Count(); ++u) {
      unused.push_back({s.lstUnuseTag.Row(u), s.lstUnusePos.Row(u), s.lstUnuseValuePos.Row(u),
                        s.lstUnuseValue.Row(u)});
    }
    out << "\n  Un Used\n" << Table(unused);
  }
  return out.str();
}

void AppendReportJson(std::string& out, const Session& session, const std::string& path) {
  JsonWriter json(out);
  const RecordStore& s = session.store;
  json.BeginObject();
  json.Key("file").String(BytesToText(path));
  json.Key("source").String(SourceOf(session));
  json.Key("backup_exists").Bool(session.imgBackupLit);
  json.Key("fields").BeginObject();
  for (int i = 0; i < kFieldCount; ++i) {
    json.Key(kFields[static_cast<std::size_t>(i)].key)
        .String(session.txtExif[static_cast<std::size_t>(i)]);
  }
  json.EndObject();
  // One directory entry: the same keys for both sides of the record store.
  auto entry = [&](const TextList& pos, const TextList& count, const TextList& type,
                   const TextList& vpos, const TextList& value, int row) {
    json.Key("pos").Number(RowNumber(pos, row));
    json.Key("count").Number(RowNumber(count, row));
    json.Key("type").Number(RowNumber(type, row));
    json.Key("vpos").Number(RowNumber(vpos, row));
    json.Key("value").String(value.Row(row));
    json.EndObject();
  };
  json.Key("tags").BeginArray();
  for (int r = 0; r < s.lstTag.Count(); ++r) {
    json.BeginObject().Key("row").Number(r);
    json.Key("tag").String(s.lstTag.Row(r));
    json.Key("name").String(s.lstTitle.Row(r));
    entry(s.lstPosition, s.lstCount, s.lstType, s.lstValuePos, s.lstValue, r);
  }
  json.EndArray();
  json.Key("unused").BeginArray();
  for (int u = 0; u < s.lstUnuseTag.Count(); ++u) {
    json.BeginObject().Key("tag").String(s.lstUnuseTag.Row(u));
    entry(s.lstUnusePos, s.lstUnuseCount, s.lstUnuseType, s.lstUnuseValuePos, s.lstUnuseValue, u);
  }
  json.EndArray();
  json.EndObject();
}

}  // namespace tagloom::cli
