// The window's speed, in one process under a real display: the time from a
// click on the next button to the next photograph's fields and picture on
// screen, for 24-megapixel photographs, with the neighbour decoded ahead and
// without; and a full-size decode of the same file, the floor it is measured
// against. Prints one JSON object of medians in milliseconds.
//
//   window_bench FOLDER ROUNDS    (FOLDER receives the photographs it makes)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "ui/main/controls.h"
#include "ui/main/dialogs.h"
#include "ui/main/frm_tagloom.h"

using namespace tagloom;
using namespace tagloom::ui;

namespace {

class SilentDialogs : public Dialogs {
 public:
  bool Ask(QWidget*, QuestionBox&) override { return false; }
  void ShowSummary(QWidget*, const RunSummary&) override {}
  EditsAnswer AskAboutEdits(QWidget*, const QString&) override { return EditsAnswer::kDiscard; }
  void Tell(QWidget*, const QString&, const QString&, MessageIcon, const QString&) override {}
  ListAnswer ConfirmList(QWidget*, ListPreview&) override { return ListAnswer::kNone; }
  QStringList ChooseFiles(QWidget*, const QStringList&) override { return {}; }
  QString ChooseTable(QWidget*, bool) override { return {}; }
  ListAnswer ConfirmTable(QWidget*, TablePreview&,
                          const std::function<TablePreview(int)>&) override {
    return ListAnswer::kNone;
  }
};

// A 6000 x 4000 photograph with detail everywhere, as a camera's is.
QString MakePhotograph(const QDir& folder, int serial) {
  const QString path = folder.filePath(QStringLiteral("photo_%1.jpg").arg(serial));
  if (QFile::exists(path)) return path;
  QImage image(6000, 4000, QImage::Format_RGB32);
  QRandomGenerator random(static_cast<quint32>(serial));
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int noise = static_cast<int>(random.bounded(40));
      line[x] =
          qRgb((x / 23 + noise + serial * 40) & 255, (y / 17 + noise) & 255, (x + y) / 40 & 255);
    }
  }
  image.save(path, "JPEG", 90);
  return path;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Runs the event loop until `done`, or for at most `limit` ms. It waits for
// events as a window's loop does, rather than spinning on a core the decoder
// threads need.
void Until(const std::function<bool()>& done, int limit = 10000) {
  QElapsedTimer clock;
  clock.start();
  QTimer guard;  // wakes the loop now and then whatever happens
  guard.start(5);
  while (!done() && clock.elapsed() < limit) {
    QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

// From the click to the new photograph's fields and picture painted.
double TimeNext(frmTagloom& window, int button, const QString& expectedName) {
  auto* image = window.findChild<QLabel*>(QStringLiteral("Image1"));
  auto* next = window.findChild<QPushButton*>(QStringLiteral("cmdNavigate(%1)").arg(button));
  QElapsedTimer clock;
  clock.start();
  next->click();
  Until([&] {
    return !image->pixmap().isNull() &&
           QFileInfo(FromPath(window.session().ImageFileName)).fileName() == expectedName;
  });
  window.repaint();
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QDir folder(QString::fromLocal8Bit(argc > 1 ? argv[1] : "."));
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  const QStringList photos = {MakePhotograph(folder, 1), MakePhotograph(folder, 2)};
  const QString second = QFileInfo(photos[1]).fileName(), first = QFileInfo(photos[0]).fileName();

  std::vector<double> decoded, ahead, cold;
  SilentDialogs dialogs;
  for (int round = 0; round < rounds; ++round) {
    QElapsedTimer clock;
    clock.start();
    QImage full = QImageReader(photos[1]).read();  // the photograph the cold step goes to
    decoded.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);

    for (bool decodeAhead : {true, false}) {
      frmTagloom window(dialogs);
      window.SetDecodeAhead(decodeAhead);
      window.show();
      window.OpenPaths(photos);
      auto* image = window.findChild<QLabel*>(QStringLiteral("Image1"));
      Until([&] { return !image->pixmap().isNull(); });
      QThread::msleep(1500);  // time enough for a neighbour to be decoded ahead
      QApplication::processEvents();
      (decodeAhead ? ahead : cold).push_back(TimeNext(window, 2, second));
      if (decodeAhead) {
        QThread::msleep(1500);
        QApplication::processEvents();
        ahead.push_back(TimeNext(window, 1, first));
      }
    }
  }
  std::printf("{\"full_decode_ms\": %.2f, \"next_ahead_ms\": %.2f, \"next_cold_ms\": %.2f}\n",
              Median(decoded), Median(ahead), Median(cold));
  return 0;
}
