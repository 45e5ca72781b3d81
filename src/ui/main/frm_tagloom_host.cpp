// The main window as the Session's Host: message boxes and the list
// preview, the progress panel and a run's stop, the busy pointer, the preview.
#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QPushButton>
#include <QUrl>

#include "ui/main/controls.h"
#include "ui/main/frm_tagloom.h"

namespace tagloom::ui {

bool frmTagloom::Ask(const Question& question) {
  QuestionBox box{FromUtf8(question.text),
                  FromUtf8(question.title),
                  question.icon,
                  FromUtf8(question.details),
                  question.defaultNo,
                  {},
                  false,
                  {}};
  if (QuestionOption* option = question.option) {
    box.option = FromUtf8(option->text);
    box.optionTicked = option->ticked;
    box.detailsTicked = FromUtf8(option->detailsTicked);
  }
  const bool yes = dialogs_.Ask(this, box);
  if (question.option != nullptr) question.option->ticked = box.optionTicked;
  return yes;
}

void frmTagloom::Tell(std::string_view text, std::string_view title, MessageIcon icon,
                      std::string_view details) {
  dialogs_.Tell(this, FromUtf8(text), FromUtf8(title), icon, FromUtf8(details));
}

ListAnswer frmTagloom::ConfirmList(ListPreview& preview) {
  return dialogs_.ConfirmList(this, preview);
}

ListAnswer frmTagloom::ConfirmTable(TablePreview& preview,
                                    const std::function<TablePreview(int)>& slide) {
  return dialogs_.ConfirmTable(this, preview, slide);
}

void frmTagloom::ShowSummary(const RunSummary& summary) {
  dialogs_.ShowSummary(this, summary);
}

EditsAnswer frmTagloom::AskAboutEdits(std::string_view text) {
  return dialogs_.AskAboutEdits(this, FromUtf8(text));
}

void frmTagloom::OfferStop(bool offered) {
  // While a run may be stopped, the person's keys and clicks reach the stop
  // button (and Escape) alone: nothing else may run inside the run.
  stopOffered_ = offered;
  stopRequested_ = false;
  panel_->OfferStop(offered);
  if (offered) {
    qApp->installEventFilter(this);
  } else {
    qApp->removeEventFilter(this);
  }
}

bool frmTagloom::StopRequested() {
  return stopRequested_;
}

void frmTagloom::ShowBar(bool visible) {
  panel_->Show(visible);
}

void frmTagloom::InitBar(std::int64_t min, std::int64_t max) {
  panel_->SetRange(min, max);
}

void frmTagloom::SetBar(std::int64_t value) {
  panel_->SetValue(value);
}

void frmTagloom::SetBarText(std::string_view text) {
  panel_->SetText(FromPath(std::string(text)));
}

void frmTagloom::Yield() {
  // A batch refills the fields file by file: show them as they go.
  Render();
  QCoreApplication::processEvents(stopOffered_ ? QEventLoop::AllEvents
                                               : QEventLoop::ExcludeUserInputEvents);
}

void frmTagloom::SetBusy(bool busy) {
  if (busy && busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  if (!busy && busyDepth_ > 0 && --busyDepth_ == 0) QApplication::restoreOverrideCursor();
}

std::optional<PictureSize> frmTagloom::LoadPreview(const std::string& path) {
  // The decode starts at once, beside the reading of the fields; the picture
  // is asked for once they are on show.
  const QString file = FromPath(path);
  preview_.Prefetch({file});
  std::optional<QSize> size = PreviewLoader::Probe(file);
  if (!size) return std::nullopt;
  return PictureSize{size->width(), size->height()};
}

void frmTagloom::OpenExternally(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(path)));
}

bool frmTagloom::FilterDuringRun(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) stopRequested_ = true;
      return true;
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Drop:
      // A click reaches the window first, then the widget under the pointer:
      // only widgets other than the stop button are kept from it.
      return watched->isWidgetType() && watched != panel_->cmdStop();
    case QEvent::Close:
      if (watched == this) {
        stopRequested_ = true;  // closing the window during a run stops it
        event->ignore();
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace tagloom::ui
