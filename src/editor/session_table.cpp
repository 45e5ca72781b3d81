// The list's fields as a table to edit in a spreadsheet, and a table (a shot
// log, a sheet of captions) applied back to the list: a run over the list
// whose edits come from the table's rows.
#include "editor/quiet_host.h"
#include "editor/reasons.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "model/number_text.h"
#include "model/path_name.h"
#include "writer/file_replacer.h"

namespace tagloom {
namespace {

// A table file is text: one of 64 MiB is no shot log.
constexpr std::int64_t kLargestTable = 64 << 20;

// The photograph's path as the table names it: relative to the table's
// folder where it lies inside it.
std::string FileCell(const std::string& photo, const std::string& folder) {
  if (folder.empty() || folder == ".") return photo;
  const std::string inside = folder.ends_with('/') ? folder : folder + "/";
  return photo.starts_with(inside) ? photo.substr(inside.size()) : photo;
}

// "表格第7行 没有对应的相片".
std::string LeftRowText(const TableMatch& match, const TableMatch::LeftRow& left) {
  const int line = match.Rows().rows[static_cast<std::size_t>(left.row)].line;
  return text::Join({text::kTableRow, IntegerText(line), text::kTableRowEnd, left.why});
}

}  // namespace

std::string Session::TableOfFields(const std::vector<std::string>& photos,
                                   const std::string& folder) {
  std::vector<std::vector<std::string>> rows = {TableHeader()};
  QuietHost quiet;
  Session one(quiet, fs_);
  one.SetBatch(true);  // its messages are this Session's to tell
  for (const std::string& photo : photos) {
    one.GetExifData(photo);
    if (!one.PhotoFound()) {
      host_.Tell(one.photoProblem_, text::kTableTitle, MessageIcon::kWarning);
      continue;
    }
    std::vector<std::string>& row = rows.emplace_back();
    row.push_back(FileCell(photo, folder));
    for (int i = 0; i < kFieldCount; ++i) {
      if (FieldRow(i) != row::kMakerNote) row.push_back(one.txtExif[static_cast<std::size_t>(i)]);
    }
  }
  return WriteTable(rows);
}

Outcome Session::ExportTable(const std::string& path) {
  ActionGuard action(*this);
  if (!action) return Outcome::kDeclined;
  const std::string table = TableOfFields(ListOrShown(), FolderOf(path));
  FileReplacer file(fs_, path, FileReplacer::Swap::kRename, FileReplacer::Links::kFollow);
  if (!file.Create(0644) || !file.Write(table) || !file.Finish() || !file.Commit()) {
    WriteResult failed;
    failed.problem = WriteResult::Problem::kFile;
    failed.file = file.Failure();
    host_.Tell(WriteFailureText(failed, path, {}), text::kTableTitle, MessageIcon::kCritical);
    return Outcome::kFailed;
  }
  host_.Tell(text::Join({text::kTableExported, path}), text::kTableTitle, MessageIcon::kNone);
  return Outcome::kDone;
}

std::optional<TableMatch> Session::MatchTable(const std::string& tablePath,
                                              const std::vector<std::string>& photos) {
  OpenFailure failure;
  std::optional<ReadChannel> file = ReadChannel::OpenFile(tablePath, &failure, fs_);
  std::string problem;
  std::string bytes;
  if (!file) {
    problem = OpenProblemText(failure, tablePath);
  } else if (file->Length() > kLargestTable) {
    problem = text::Join({text::kTableTooLarge, tablePath});
  } else {
    bytes = file->ReadString(file->Length());
    if (file->Failed()) problem = ReadFailureText(file->Error(), tablePath);
  }
  std::variant<Table, std::string> table =
      problem.empty() ? ReadTableFile(bytes) : std::variant<Table, std::string>(problem);
  if (auto* why = std::get_if<std::string>(&table)) {
    host_.Tell(text::Join({*why, text::kCrLf, tablePath}), text::kTableTitle,
               MessageIcon::kCritical);
    return std::nullopt;
  }
  TableMatch match(std::move(std::get<Table>(table)), FolderOf(tablePath), photos);
  if (match.Photos().empty()) {
    host_.Tell(match.Slides() ? text::kTableNeedsPhotos : text::kNoImageFile, text::kTableTitle,
               MessageIcon::kWarning);
    return std::nullopt;
  }
  return match;
}

TablePreview Session::PreviewOf(const TableMatch& match) {
  TablePreview preview;
  preview.list = PreviewList(match.Photos(), match.Edits());
  preview.list.keepAll = keepAll;
  for (std::size_t p = 0; p < match.Photos().size(); ++p) {
    const int row = match.RowOf(p);
    preview.lineOf.push_back(row < 0 ? -1 : match.Rows().rows[static_cast<std::size_t>(row)].line);
  }
  for (const TableMatch::LeftRow& left : match.LeftRows()) {
    preview.leftRows.push_back(LeftRowText(match, left));
  }
  preview.unusedColumns = match.UnusedColumns();
  preview.slides = match.Slides();
  preview.offset = match.Offset();
  return preview;
}

std::optional<TablePreview> Session::PreviewTable(const std::string& tablePath,
                                                  const std::vector<std::string>& photos) {
  std::optional<TableMatch> match = MatchTable(tablePath, photos);
  if (!match) return std::nullopt;
  return PreviewOf(*match);
}

Outcome Session::ApplyTable(const std::string& tablePath, const std::vector<std::string>& photos) {
  ActionGuard action(*this);
  if (!action) return Outcome::kDeclined;
  std::optional<TableMatch> match = MatchTable(tablePath, photos);
  if (!match) return Outcome::kFailed;
  TablePreview preview = PreviewOf(*match);
  const ListAnswer answer = host_.ConfirmTable(preview, [&](int offset) {
    match->SetOffset(offset);
    return PreviewOf(*match);
  });
  match->SetOffset(preview.offset);
  keepAll = preview.list.keepAll;  // the choice holds for the next write too
  if (answer != ListAnswer::kAll) return Outcome::kDeclined;
  std::string notes;
  bool faults = false;
  for (const TableMatch::LeftRow& left : match->LeftRows()) {
    notes += text::Join({LeftRowText(*match, left), text::kCrLf});
    faults = faults || left.fault;
  }
  for (const std::string& column : match->UnusedColumns()) {
    notes += text::Join({text::kTableColumnsUnused, column, text::kCrLf});
  }
  const Outcome outcome =
      RunList(match->Photos(), {RunKind::kWrite, match->Edits(), keepAll, notes});
  return faults && outcome == Outcome::kDone ? Outcome::kFailed : outcome;
}

}  // namespace tagloom
