// tagloom-cli: the editor's Session driven from a terminal.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
  using namespace tagloom::cli;
  CLI::App app{"Tagloom: read, edit, back up and restore the EXIF block of JPEG photographs"};
  app.require_subcommand(1);

  ShowOptions show;
  CLI::App* showCommand =
      app.add_subcommand("show", "Print what the editor shows for each photograph");
  showCommand->add_flag("--inspect", show.inspect, "Add the record store's two tables");
  showCommand->add_flag("--json", show.json, "Print one JSON array, an object per photograph");
  showCommand->add_option("PHOTO", show.photos, "Photographs (.jpg, .jpeg, .thm)")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }
  if (*showCommand) return RunShow(show);
  return kExitUsage;
}
