#include "cli/list_report.h"

#include <algorithm>
#include <string_view>

#include "cli/json_writer.h"
#include "cli/terminal_text.h"
#include "editor/texts.h"
#include "model/catalogue.h"
#include "model/value_text.h"

namespace tagloom::cli {
namespace {

std::string_view Shown(const std::string& value) {
  return value.empty() ? text::kEmptyValue : std::string_view(value);
}

std::string_view OutcomeKey(PhotoResult result) {
  switch (result) {
    case PhotoResult::kDone:
      return "written";
    case PhotoResult::kUnchanged:
      return "unchanged";
    case PhotoResult::kSkipped:
      return "skipped";
    case PhotoResult::kMissing:
      return "missing";
    case PhotoResult::kRefused:
      return "refused";
    case PhotoResult::kNotReached:
      break;
  }
  return "not_reached";
}

// A message for JSON: CR LF as LF, each line decoded as PrintableMessage
// decodes it (file names are bytes), control characters left to JSON.
std::string Decoded(std::string_view message) {
  const std::string lines = TerminalText(message);
  std::string out;
  for (std::string_view rest = lines;;) {
    const std::size_t end = rest.find('\n');
    out += BytesToText(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    out += '\n';
    rest.remove_prefix(end + 1);
  }
  return out;
}

// "changes": [{"field", "old", "new"}], the texts as the fields show them
// (typed bytes that are not UTF-8 shown as file names are).
void AppendChanges(JsonWriter& json, const std::vector<FieldChange>& changes) {
  json.Key("changes").BeginArray();
  for (const FieldChange& change : changes) {
    json.BeginObject().Key("field").String(kFields[static_cast<std::size_t>(change.field)].key);
    json.Key("old").String(BytesToText(change.before));
    json.Key("new").String(BytesToText(change.after)).EndObject();
  }
  json.EndArray();
}

// `lines` (one item a line) as an array of texts.
void AppendLines(JsonWriter& json, std::string_view key, const std::string& lines) {
  json.Key(key).BeginArray();
  const std::string decoded = Decoded(lines);
  for (std::string_view rest = decoded; !rest.empty();) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    if (!TrimBlanks(rest.substr(0, end)).empty()) json.String(TrimBlanks(rest.substr(0, end)));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  json.EndArray();
}

// One object a line, so that a person can read it too.
void NextObject(std::string& out, bool first) {
  out += first ? "[\n" : ",\n";
}
std::string EndArray(bool empty) {
  return empty ? "[]\n" : "\n]\n";
}

}  // namespace

std::string PreviewJson(const ListPreview& preview, const std::vector<int>* lines) {
  std::string out;
  for (std::size_t i = 0; i < preview.photos.size(); ++i) {
    const PhotoPlan& photo = preview.photos[i];
    NextObject(out, out.empty());
    JsonWriter json(out);
    json.BeginObject().Key("file").String(BytesToText(photo.path));
    if (lines != nullptr && i < lines->size()) json.Key("row").Number((*lines)[i]);
    AppendChanges(json, photo.changes);
    if (!photo.problem.empty()) json.Key("problem").String(Decoded(photo.problem));
    if (photo.sameAs >= 0) {
      json.Key("same_as").String(
          BytesToText(preview.photos[static_cast<std::size_t>(photo.sameAs)].path));
    }
    if (preview.keepAll) AppendLines(json, "kept", photo.kept);
    AppendLines(json, "not_kept", preview.keepAll ? photo.notKeptAll : photo.notKept);
    json.EndObject();
  }
  return out + EndArray(out.empty());
}

std::string TablePreviewJson(const TablePreview& preview) {
  std::string out = "{\"photos\": " + PreviewJson(preview.list, &preview.lineOf) + ",";
  JsonWriter json(out);
  json.Key("left_rows").BeginArray();
  for (const std::string& row : preview.leftRows) json.String(Decoded(row));
  json.EndArray().Key("unused_columns").BeginArray();
  for (const std::string& column : preview.unusedColumns) json.String(Decoded(column));
  json.EndArray();
  return out + "}\n";
}

std::string TablePreviewText(const TablePreview& preview) {
  std::string out = PreviewText(preview.list);
  for (const std::string& row : preview.leftRows) out += PrintableMessage(row) + "\n";
  for (const std::string& column : preview.unusedColumns) {
    out += text::Join({text::kTableColumnsUnused, PrintableMessage(column), "\n"});
  }
  return out;
}

std::string OutcomesJson(const std::vector<PhotoOutcome>& outcomes) {
  std::string out;
  for (const PhotoOutcome& photo : outcomes) {
    NextObject(out, out.empty());
    JsonWriter json(out);
    json.BeginObject().Key("file").String(BytesToText(photo.path));
    json.Key("outcome").String(OutcomeKey(photo.result));
    if (!photo.reason.empty()) json.Key("reason").String(Decoded(photo.reason));
    if (photo.result == PhotoResult::kDone && !photo.changes.empty()) {
      AppendChanges(json, photo.changes);
    }
    json.EndObject();
  }
  return out + EndArray(out.empty());
}

std::string PreviewText(const ListPreview& preview) {
  std::string out;
  for (const PhotoPlan& photo : preview.photos) {
    AppendPrintable(out, BytesToText(photo.path));
    out += "\n";
    if (photo.sameAs >= 0) {
      out += "  " + std::string(text::kSameAsListed) + " ";
      AppendPrintable(out,
                      BytesToText(preview.photos[static_cast<std::size_t>(photo.sameAs)].path));
      out += "\n";
      continue;
    }
    if (!photo.problem.empty()) {
      out += "  " + PrintableMessage(photo.problem) + "\n";
      continue;
    }
    if (photo.changes.empty()) out += "  " + std::string(text::kNothingToChange) + "\n";
    for (const FieldChange& change : photo.changes) {
      out += "  ";
      out += kFields[static_cast<std::size_t>(change.field)].caption;
      out += " ";
      AppendPrintable(out, BytesToText(ShortenedHex(Shown(change.before))));
      out += " → ";
      AppendPrintable(out, BytesToText(ShortenedHex(Shown(change.after))));
      out += "\n";
    }
    if (preview.keepAll && !photo.kept.empty()) {
      out += "  " + std::string(text::kKeptHeading) + "\n" + PrintableMessage(photo.kept);
    }
    if (const std::string& lost = preview.keepAll ? photo.notKeptAll : photo.notKept;
        !lost.empty()) {
      out += "  " + std::string(text::kNotKeptHeading) + "\n" + PrintableMessage(lost);
    }
  }
  return out;
}

}  // namespace tagloom::cli
