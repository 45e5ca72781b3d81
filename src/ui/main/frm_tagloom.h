// frmTagloom, the main window: a thin view over a Session. Every user action
// is forwarded as one Session call, then Render() shows the Session's state;
// the window decides nothing itself. It is also the Session's Host: message
// boxes, the progress panel, the busy pointer and the preview.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "editor/session.h"
#include "ui/main/dialogs.h"
#include "ui/main/preview_loader.h"
#include "ui/main/progress_panel.h"
#include "ui/main/window_widgets.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QPushButton;
class QToolButton;

namespace tagloom::ui {

class Inspector;
class SelectAllOnFocus;
class frmDateChoose;
class frmDrop;

class frmTagloom : public QWidget, public Host {
  Q_OBJECT
 public:
  explicit frmTagloom(Dialogs& dialogs, QWidget* parent = nullptr);
  ~frmTagloom() override;

  Session& session() { return session_; }
  // Shows the Session's state in the widgets.
  void Render();
  // Photographs given on the command line: opened as a drop of them is.
  void OpenPaths(const QStringList& paths);
  // Photographs handed over by another start of the program: taken as a
  // drop as soon as no other action or modal window is under way; then this
  // window comes to the front.
  void HandOver(const QStringList& paths);
  // Whether the photographs beside the one on show are decoded ahead (the
  // benchmark measures both ways).
  void SetDecodeAhead(bool ahead) { decodeAhead_ = ahead; }
  // The drop target, once cmdTarget has opened it.
  frmDrop* DropTargetWindow() const;

  // Host
  bool Ask(const Question& question) override;
  void Tell(std::string_view text, std::string_view title, MessageIcon icon,
            std::string_view details) override;
  ListAnswer ConfirmList(ListPreview& preview) override;
  bool OffersKeepAllChoice() const override { return true; }
  ListAnswer ConfirmTable(TablePreview& preview,
                          const std::function<TablePreview(int)>& slide) override;
  void ShowSummary(const RunSummary& summary) override;
  EditsAnswer AskAboutEdits(std::string_view text) override;
  void OfferStop(bool offered) override;
  bool StopRequested() override;
  void ShowBar(bool visible) override;
  void InitBar(std::int64_t min, std::int64_t max) override;
  void SetBar(std::int64_t value) override;
  void SetBarText(std::string_view text) override;
  void Yield() override;
  void SetBusy(bool busy) override;
  std::optional<PictureSize> LoadPreview(const std::string& path) override;
  void OpenExternally(const std::string& path) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The controls (frm_tagloom_build.cpp).
  void Build();
  void BuildFileArea();
  void BuildPictureArea();
  void BuildFields();
  void BuildButtons();
  void AddKeys();
  QLineEdit* AddField(int field, QWidget* frame, const QRect& box);
  void AddBoxField(int field);
  QComboBox* AddCombo(Picker picker, const QRect& rect);

  void Connect();
  // Runs a Session action, then shows its result.
  template <typename Action>
  void Do(Action action);
  void ShowPicture(const QString& path, const QImage& image);
  void RenderPicture();
  void TakeHandOver();
  // Shows this window in front of the others.
  void ComeForward();
  // During a run that may be stopped: keeps every input but the stop's away.
  bool FilterDuringRun(QObject* watched, QEvent* event);
  // The date picker: opens on the field's date, writes the day chosen.
  void ChooseDate();
  // The dates of the whole list (from the date picker).
  void FixDates();
  // cmdTarget: the drop target takes this window's place until its "<Exit>".
  void ShowDropTarget();

  Dialogs& dialogs_;
  Session session_;
  PreviewLoader preview_;
  QString pictureShown_;  // the path whose picture Image1 is for

  QLineEdit* Text1_ = nullptr;
  QToolButton* cmdOpen_ = nullptr;
  QLabel* imgRead_ = nullptr;
  QLabel* imgBackup_ = nullptr;
  std::array<std::array<QPixmap, 2>, 2> lamps_;  // [read, backup][unlit, lit]
  PictureFrame* Frame1_ = nullptr;
  QLabel* Image1_ = nullptr;
  QLabel* labNoExif_ = nullptr;
  std::array<QPushButton*, 4> cmdNavigate_{};
  QLabel* labNum_ = nullptr;
  QCheckBox* chkBatch_ = nullptr;
  QPushButton* cmdBackup_ = nullptr;
  QPushButton* cmdRestore_ = nullptr;
  QGroupBox* Frame2_ = nullptr;
  QGroupBox* Frame3_ = nullptr;
  std::array<QCheckBox*, kAreaCount> chkKeep_{};
  std::array<QLineEdit*, kFieldCount> txtExif_{};
  std::array<QComboBox*, 4> Combo_{};  // Combo1 to Combo4
  std::array<QRadioButton*, 2> OptFlash_{};
  QPushButton* cmdDateChoose_ = nullptr;
  QPushButton* cmdExifWrite_ = nullptr;
  QToolButton* cmdTarget_ = nullptr;
  QPushButton* cmdAbout_ = nullptr;
  QPushButton* cmdExit_ = nullptr;
  QPushButton* cmdExportTable_ = nullptr;
  QPushButton* cmdImportTable_ = nullptr;
  SelectAllOnFocus* selectAll_ = nullptr;
  Inspector* Frame_Exif_ = nullptr;
  frmDateChoose* dateChoose_ = nullptr;  // created on first use, then only hidden
  std::unique_ptr<frmDrop> drop_;        // a window of its own; created on first use
  std::unique_ptr<ProgressPanel> panel_;
  int busyDepth_ = 0;
  bool stopOffered_ = false, stopRequested_ = false;
  bool decodeAhead_ = true;
};

}  // namespace tagloom::ui
