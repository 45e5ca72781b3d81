// frmAbout, the About box: the program's name and version, what it is for,
// and a way to the system's own information program.
#pragma once

#include <QDialog>

namespace tagloom::ui {

class Dialogs;

class frmAbout : public QDialog {
 public:
  frmAbout(Dialogs& dialogs, QWidget* parent);

  // Starts the system-information program, or says that there is none.
  void StartSysInfo();

 private:
  Dialogs& dialogs_;
};

}  // namespace tagloom::ui
