// Shared by the window tests: message boxes answered by a script, and drops
// that arrive as a file manager's do.
#pragma once

#include <QMimeData>
#include <QtTest>
#include <deque>

#include "support/temp_dir.h"
#include "ui/main/dialogs.h"

namespace tagloom::ui {

class ScriptedDialogs : public Dialogs {
 public:
  struct Shown {
    QString text, title, details;
    bool question;
  };
  std::vector<Shown> shown;
  std::deque<bool> answers;  // for the next questions, in order; then Yes
  QStringList chosen;
  QStringList filters;

  std::deque<bool> ticks;  // for the next questions' boxes to tick: tick or untick
  bool Ask(QWidget*, QuestionBox& question) override {
    shown.push_back({question.text, question.title, question.details, true});
    if (!question.option.isEmpty() && !ticks.empty()) {
      question.optionTicked = ticks.front();
      ticks.pop_front();
    }
    const bool answer = answers.empty() || answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  std::vector<TablePreview> tablesPreviewed;
  ListAnswer ConfirmTable(QWidget*, TablePreview& preview,
                          const std::function<TablePreview(int)>&) override {
    tablesPreviewed.push_back(preview);
    return ListAnswer::kAll;
  }
  QString table;  // what the next table dialog chooses
  QString ChooseTable(QWidget*, bool) override { return table; }
  std::vector<RunSummary> summaries;
  void ShowSummary(QWidget*, const RunSummary& summary) override { summaries.push_back(summary); }
  std::deque<EditsAnswer> editsAnswers;  // for the next questions about edits; then kStay
  EditsAnswer AskAboutEdits(QWidget*, const QString& text) override {
    shown.push_back({text, {}, {}, true});
    const EditsAnswer answer = editsAnswers.empty() ? EditsAnswer::kStay : editsAnswers.front();
    if (!editsAnswers.empty()) editsAnswers.pop_front();
    return answer;
  }
  void Tell(QWidget*, const QString& text, const QString& title, MessageIcon,
            const QString& details) override {
    shown.push_back({text, title, details, false});
  }
  std::deque<ListAnswer> listAnswers;  // for the next previews; then kAll
  std::vector<ListPreview> previewed;
  ListAnswer ConfirmList(QWidget*, ListPreview& preview) override {
    previewed.push_back(preview);
    const ListAnswer answer = listAnswers.empty() ? ListAnswer::kAll : listAnswers.front();
    if (!listAnswers.empty()) listAnswers.pop_front();
    return answer;
  }
  QStringList ChooseFiles(QWidget*, const QStringList& offered) override {
    filters = offered;
    return chosen;
  }
};

inline QString PhotoPath(const char* name) {
  return QString::fromStdString((test::PhotosDir() / name).string());
}

// The drag enters `target`, then drops the files there.
inline void DropFiles(QWidget* target, const QStringList& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
}

}  // namespace tagloom::ui
