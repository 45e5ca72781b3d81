#include "cli/list_report.h"

#include "cli/terminal_text.h"
#include "editor/texts.h"
#include "model/catalogue.h"
#include "model/value_text.h"

namespace tagloom::cli {
namespace {

std::string_view Shown(const std::string& value) {
  return value.empty() ? text::kEmptyValue : std::string_view(value);
}

}  // namespace

std::string PreviewText(const ListPreview& preview) {
  std::string out;
  for (const PhotoPlan& photo : preview.photos) {
    AppendPrintable(out, BytesToText(photo.path));
    out += "\n";
    if (!photo.problem.empty()) {
      out += "  " + PrintableMessage(photo.problem) + "\n";
      continue;
    }
    if (photo.changes.empty()) out += "  " + std::string(text::kNothingToChange) + "\n";
    for (const FieldChange& change : photo.changes) {
      out += "  ";
      out += kFields[static_cast<std::size_t>(change.field)].caption;
      out += " ";
      AppendPrintable(out, ShortenedHex(Shown(change.before)));
      out += " → ";
      AppendPrintable(out, ShortenedHex(Shown(change.after)));
      out += "\n";
    }
    if (!photo.notKept.empty()) {
      out += "  " + std::string(text::kNotKeptHeading) + "\n" + PrintableMessage(photo.notKept);
    }
  }
  return out;
}

}  // namespace tagloom::cli
