// tagloom-cli: the editor's Session driven from a terminal.
#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/commands.h"
#include "model/catalogue.h"
#include "writer/interrupt_cleanup.h"

int main(int argc, char** argv) {
  using namespace tagloom::cli;
  tagloom::RemoveTemporaryFilesOnInterrupt();
  CLI::App app{"Tagloom: read, edit, back up and restore the EXIF block of JPEG photographs"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "tagloom-cli " TAGLOOM_VERSION, "Print the version and exit");

  ShowOptions show;
  CLI::App* showCommand =
      app.add_subcommand("show", "Print what the editor shows for each photograph");
  showCommand->add_flag("--inspect", show.inspect, "Add the record store's two tables");
  showCommand->add_flag("--json", show.json, "Print one JSON array, an object per photograph");
  showCommand->add_option("PHOTO", show.photos, "Photographs (.jpg, .jpeg, .thm)")->required();

  SetOptions set;
  CLI::App* setCommand = app.add_subcommand(
      "set", "Type texts into fields and write them into the photograph, as the write button does");
  setCommand->add_option("PHOTO", set.photo, "The photograph")->required();
  for (int i = 0; i < tagloom::kFieldCount; ++i) {
    std::string name(tagloom::kFields[static_cast<std::size_t>(i)].key);
    std::replace(name.begin(), name.end(), '_', '-');
    setCommand
        ->add_option_function<std::string>(
            "--" + name, [&set, i](const std::string& text) { set.fields.emplace_back(i, text); },
            "Text for the field " +
                std::string(tagloom::kFields[static_cast<std::size_t>(i)].caption))
        ->type_name("TEXT");
  }
  setCommand->add_flag("--yes,-y", set.yes, "Answer Yes to every question");

  BackupRestoreOptions backup, restore;
  CLI::App* backupCommand = app.add_subcommand(
      "backup", "Back up each photograph's EXIF block into its backup file (several: a batch)");
  backupCommand->add_option("PHOTO", backup.photos, "Photographs")->required();
  backupCommand->add_flag("--yes,-y", backup.yes, "Answer Yes to every question");
  CLI::App* restoreCommand = app.add_subcommand(
      "restore", "Store each backup file's EXIF block into its photograph (several: a batch)");
  restoreCommand->add_option("PHOTO", restore.photos, "Photographs")->required();
  restoreCommand->add_flag("--yes,-y", restore.yes, "Answer Yes to every question");

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {  // --help or --version
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }
  if (*showCommand) return RunShow(show);
  if (*setCommand) {
    if (set.fields.empty()) {
      std::cerr << "set: give at least one field, e.g. --make TEXT (see --help)\n";
      return kExitUsage;
    }
    return RunSet(set);
  }
  if (*backupCommand) return RunBackup(backup);
  if (*restoreCommand) return RunRestore(restore);
  return kExitUsage;
}
