#include "cli/photo_report.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "cli/json_writer.h"
#include "cli/terminal_text.h"
#include "model/number_text.h"
#include "model/pickers.h"
#include "model/value_text.h"

namespace tagloom::cli {

namespace {

// Rows of cells printed as aligned columns; the last column is never padded.
std::string Table(std::vector<std::vector<std::string>> rows) {
  std::vector<std::size_t> widths;
  for (auto& row : rows) {
    if (widths.size() < row.size()) widths.resize(row.size());
    for (std::size_t c = 0; c < row.size(); ++c) {
      row[c] = Printable(row[c]);
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
  }
  std::string out;
  for (const auto& row : rows) {
    out += "  ";
    for (std::size_t c = 0; c < row.size(); ++c) {
      out += row[c];
      if (c + 1 < row.size()) out.append(widths[c] - DisplayWidth(row[c]) + 2, ' ');
    }
    out += "\n";
  }
  return out;
}

std::int64_t RowNumber(const TextList& list, int row) {
  return static_cast<std::int64_t>(list.Number(row));
}

}  // namespace

std::string FieldForPerson(const Session& session, int field) {
  const std::string& text = session.txtExif[static_cast<std::size_t>(field)];
  const PickerInfo* picker = PickerOfField(field);
  if (picker == nullptr || !picker->followsField) return ShortenedHex(text);
  const int selected = session.Selected(picker->picker);
  if (text.empty() || !picker->HasItem(selected)) return text;
  std::string_view item = picker->items[static_cast<std::size_t>(selected)];
  return item.empty() ? text : std::string(item) + " (" + text + ")";
}

std::string ReportText(const Session& session, const std::string& path, bool inspect) {
  std::string out;
  out.reserve(1024);  // a report without the inspector's lists is some 600 bytes
  AppendPrintable(out, BytesToText(path));
  out += "\n  source: ";
  out += session.Source();
  out += session.imgBackupLit ? "    backup file: exists\n" : "    backup file: none\n";
  // The fields: the captions' column is as wide as the widest caption.
  static const std::size_t kCaptionWidth = [] {
    std::size_t widest = 0;
    for (const FieldInfo& info : kFields) widest = std::max(widest, DisplayWidth(info.caption));
    return widest;
  }();
  for (int i = 0; i < kFieldCount; ++i) {
    std::string_view caption = kFields[static_cast<std::size_t>(i)].caption;
    out += "  ";
    out += caption;
    out.append(kCaptionWidth - DisplayWidth(caption) + 2, ' ');
    AppendPrintable(out, FieldForPerson(session, i));
    out += '\n';
  }
  if (inspect) {
    const RecordStore& s = session.store;
    std::vector<std::vector<std::string>> catalogued = {
        {"Tag", "Pos", "Count", "Type", "VPos", "Name", "Value"}};
    for (int r = 0; r < s.lstTag.Count(); ++r) {
      catalogued.push_back({s.lstTag.Row(r), s.lstPosition.Row(r), s.lstCount.Row(r),
                            s.lstType.Row(r), s.lstValuePos.Row(r), s.lstTitle.Row(r),
                            ShortenedHex(BytesToText(s.lstValue.Row(r)))});
    }
    out += "\n" + Table(std::move(catalogued));
    std::vector<std::vector<std::string>> unused = {{"Tag", "Pos", "VPos", "Value"}};
    for (int u = 0; u < s.lstUnuseTag.Count(); ++u) {
      unused.push_back({s.lstUnuseTag.Row(u), s.lstUnusePos.Row(u), s.lstUnuseValuePos.Row(u),
                        ShortenedHex(BytesToText(s.lstUnuseValue.Row(u)))});
    }
    out += "\n  Un Used\n" + Table(std::move(unused));
  }
  return out;
}

void AppendReportJson(std::string& out, const Session& session, const std::string& path) {
  JsonWriter json(out);
  const RecordStore& s = session.store;
  json.BeginObject();
  json.Key("file").String(BytesToText(path));
  json.Key("source").String(session.Source());
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
    json.Key("value").String(BytesToText(value.Row(row)));
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
