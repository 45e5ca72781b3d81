#include "cli/photo_report.h"

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

// Rows of cells printed as aligned columns; the last column is never padded.
std::string Table(const std::vector<std::vector<std::string>>& rows) {
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
  out << path << "\n";
  out << "  source: " << SourceOf(session)
      << "    backup file: " << (session.imgBackupLit ? "exists" : "none") << "\n";
  std::vector<std::vector<std::string>> fields;
  for (int i = 0; i < kFieldCount; ++i) {
    fields.push_back({std::string(kFields[static_cast<std::size_t>(i)].caption),
                      FieldForPerson(session, i)});
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
  json.Key("tags").BeginArray();
  for (int r = 0; r < s.lstTag.Count(); ++r) {
    json.BeginObject();
    json.Key("row").Number(r);
    json.Key("tag").String(s.lstTag.Row(r));
    json.Key("name").String(s.lstTitle.Row(r));
    json.Key("pos").Number(RowNumber(s.lstPosition, r));
    json.Key("count").Number(RowNumber(s.lstCount, r));
    json.Key("type").Number(RowNumber(s.lstType, r));
    json.Key("vpos").Number(RowNumber(s.lstValuePos, r));
    json.Key("value").String(s.lstValue.Row(r));
    json.EndObject();
  }
  json.EndArray();
  json.Key("unused").BeginArray();
  for (int u = 0; u < s.lstUnuseTag.Count(); ++u) {
    json.BeginObject();
    json.Key("tag").String(s.lstUnuseTag.Row(u));
    json.Key("pos").Number(RowNumber(s.lstUnusePos, u));
    json.Key("count").Number(RowNumber(s.lstUnuseCount, u));
    json.Key("type").Number(RowNumber(s.lstUnuseType, u));
    json.Key("vpos").Number(RowNumber(s.lstUnuseValuePos, u));
    json.Key("value").String(s.lstUnuseValue.Row(u));
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

}  // namespace tagloom::cli
