// tagloom-cli: the editor's Session driven from a terminal.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "editor/photo_list.h"
#include "model/catalogue.h"
#include "writer/interrupt_cleanup.h"

namespace {

using namespace tagloom::cli;

// --keep-all, --dry-run, --json and --yes of the writes.
void AddListFlags(CLI::App* command, bool& keepAll, bool& dryRun, bool& json, bool& yes) {
  command->add_flag("--keep-all", keepAll,
                    "Keep everything else each block held: GPS position, thumbnail, every "
                    "other entry");
  command->add_flag("--dry-run,-n", dryRun,
                    "Print what would change in each photograph; write nothing");
  command->add_flag("--json", json, "Print for scripts: one JSON array, an object per photograph");
  command->add_flag("--yes,-y", yes, "Answer Yes to every question");
}

CLI::App* AddSet(CLI::App& app, SetOptions& set) {
  CLI::App* command = app.add_subcommand(
      "set",
      "Type texts into fields and write them, as the write button does, into each photograph");
  command->add_option("PHOTO", set.photos, "Photographs (.jpg, .jpeg, .thm)")->required();
  for (int i = 0; i < tagloom::kFieldCount; ++i) {
    const tagloom::FieldInfo& field = tagloom::kFields[static_cast<std::size_t>(i)];
    std::string name(field.key);
    std::replace(name.begin(), name.end(), '_', '-');
    command
        ->add_option_function<std::string>(
            "--" + name, [&set, i](const std::string& text) { set.fields.emplace_back(i, text); },
            "Text for the field " + std::string(field.caption))
        ->type_name("TEXT");
  }
  AddListFlags(command, set.keepAll, set.dryRun, set.json, set.yes);
  return command;
}

// Offsets and dates are read as the editor reads them; CLI11 takes a value
// such as "-0 02:00:00" as given, since there is no option -0.
CLI::App* AddShift(CLI::App& app, ShiftOptions& shift) {
  CLI::App* command = app.add_subcommand(
      "shift", "Move the dates of photographs by an offset, or give them dates in sequence");
  CLI::Option* by = command->add_option_function<std::string>(
      "--by",
      [&shift](const std::string& text) {
        shift.by = tagloom::ParseOffset(text);
        if (!shift.by)
          throw CLI::ValidationError("--by", "not an offset like +1 02:00:00: " + text);
      },
      "Move every date by this offset: +D HH:MM:SS or -D HH:MM:SS");
  by->type_name("OFFSET");
  CLI::Option* start = command->add_option_function<std::string>(
      "--start",
      [&shift](const std::string& text) {
        shift.start = tagloom::ReadDate(text);
        if (!shift.start) {
          throw CLI::ValidationError("--start", "not a date like 2001/05/12 14:30:00: " + text);
        }
      },
      "The date of the first photograph: YYYY/MM/DD HH:MM:SS");
  start->type_name("DATE");
  CLI::Option* step =
      command->add_option("--step", shift.step, "Seconds from one photograph's date to the next's");
  step->type_name("SECONDS");
  CLI::Option* reverse =
      command->add_flag("--reverse", shift.reverse, "The last photograph gets the start date");
  by->excludes(start);
  start->needs(step);
  step->needs(start);
  reverse->needs(start);
  command->add_option("PHOTO", shift.photos, "Photographs, in the order their dates follow")
      ->required();
  AddListFlags(command, shift.keepAll, shift.dryRun, shift.json, shift.yes);
  return command;
}

CLI::App* AddButton(CLI::App& app, const char* name, const char* description,
                    BackupRestoreOptions& options) {
  CLI::App* command = app.add_subcommand(name, description);
  command->add_option("PHOTO", options.photos, "Photographs")->required();
  command->add_flag("--yes,-y", options.yes, "Answer Yes to every question");
  return command;
}

int Usage(const std::string& message) {
  std::cerr << message << "\n";
  return kExitUsage;
}

// An option given an empty value ("--by=") would take the next argument as
// its value; it is an error of that option instead. "--" ends the options.
std::optional<std::string> EmptyOptionValue(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;
    if (arg.starts_with("--") && arg.ends_with('='))
      return std::string(arg.substr(0, arg.size() - 1));
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  tagloom::RemoveTemporaryFilesOnInterrupt();
  CLI::App app{"Tagloom: read, edit, back up and restore the EXIF block of JPEG photographs"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "tagloom-cli " TAGLOOM_VERSION, "Print the version and exit");

  ShowOptions show;
  CLI::App* showCommand =
      app.add_subcommand("show", "Print what the editor shows for each photograph");
  showCommand->add_flag("--inspect", show.inspect, "Add the record store's two tables");
  showCommand->add_flag("--json", show.json, "Print one JSON array, an object per photograph");
  showCommand->add_flag("--csv", show.csv,
                        "Print the fields as a table (CSV, UTF-8): a row per photograph");
  showCommand->add_option("PHOTO", show.photos, "Photographs (.jpg, .jpeg, .thm)")->required();
  SetOptions set;
  CLI::App* setCommand = AddSet(app, set);
  ShiftOptions shift;
  CLI::App* shiftCommand = AddShift(app, shift);
  ApplyOptions apply;
  CLI::App* applyCommand = app.add_subcommand(
      "apply", "Write each row of a table (CSV) into its photograph: by the file column, or in "
               "order to the photographs given");
  applyCommand->add_option("TABLE", apply.table, "The table (CSV, TSV; UTF-8, UTF-16, GB18030)")
      ->required();
  applyCommand->add_option("PHOTO", apply.photos, "Photographs, in the order of the rows");
  AddListFlags(applyCommand, apply.keepAll, apply.dryRun, apply.json, apply.yes);
  BackupRestoreOptions backup, restore;
  CLI::App* backupCommand = AddButton(
      app, "backup", "Back up each photograph's EXIF block into its backup file (several: a batch)",
      backup);
  CLI::App* restoreCommand = AddButton(
      app, "restore", "Store each backup file's EXIF block into its photograph (several: a batch)",
      restore);

  if (const std::optional<std::string> option = EmptyOptionValue(argc, argv)) {
    return Usage(*option + ": a value is needed (see --help)");
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {  // --help or --version
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }
  // A folder brings the photographs directly inside it, as in the window.
  const std::pair<CLI::App*, std::vector<std::string>*> given[] = {
      {showCommand, &show.photos},
      {setCommand, &set.photos},
      {shiftCommand, &shift.photos},
      {backupCommand, &backup.photos},
      {restoreCommand, &restore.photos}};
  for (const auto& [command, photos] : given) {
    if (!*command) continue;
    *photos = tagloom::WithFoldersOpened(*photos);
    if (photos->empty()) {
      std::cerr << "tagloom-cli: no photographs (.jpg, .jpeg, .thm) in the folders given\n";
      return kExitFailed;
    }
  }
  if (*showCommand) return RunShow(show);
  if (*setCommand) {
    if (set.fields.empty())
      return Usage("set: give at least one field, e.g. --make TEXT (see --help)");
    return RunSet(set);
  }
  if (*shiftCommand) {
    if (!shift.by && !shift.start)
      return Usage("shift: give --by OFFSET, or --start DATE --step SECONDS");
    // Every date of the sequence must be a date: a step that would carry the
    // last photograph past year 9999 (or before year 1) is no step at all.
    if (shift.start && !tagloom::Stepped(*shift.start, shift.step,
                                         static_cast<std::int64_t>(shift.photos.size()) - 1)) {
      return Usage("shift: --step: the dates of these photographs would leave years 1 to 9999");
    }
    return RunShift(shift);
  }
  if (*applyCommand) return RunApply(apply);
  if (*backupCommand) return RunBackup(backup);
  if (*restoreCommand) return RunRestore(restore);
  return kExitUsage;
}
