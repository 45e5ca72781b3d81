#include "ui/about/frm_splash.h"

#include <QLabel>
#include <QTimer>

#include "editor/texts.h"
#include "ui/main/controls.h"
#include "ui/main/pictures.h"
#include "ui/main/twips.h"

namespace tagloom::ui {
namespace {

constexpr int kWidth = 6000, kHeight = 3600;  // twips
constexpr int kShadow = 60;                   // how far a name's shadow falls, right and down

// A text drawn twice, the second copy below and to the right in a darker
// colour: a name with its drop shadow. The shadow is made first, so it lies beneath.
void ShadowedText(QWidget* parent, const char* shadowName, const char* name, const QString& text,
                  const QRect& twips, int pixelSize, const QColor& ink, const QColor& shade) {
  QFont font = parent->font();
  font.setPixelSize(pixelSize);
  font.setBold(true);
  for (bool shadow : {true, false}) {
    auto* label = new QLabel(text, parent);
    Name(label, QString::fromLatin1(shadow ? shadowName : name));
    label->setFont(font);
    Ink(label, shadow ? shade : ink);
    const int offset = shadow ? kShadow : 0;
    label->setGeometry(TwipsRect(twips.x() + offset, twips.y() + offset, twips.width(),
                                 twips.height()));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);  // a click closes the splash
  }
}

}  // namespace

frmSplash::frmSplash(std::function<void()> closed, QWidget* parent)
    : QWidget(parent), closed_(std::move(closed)) {
  Name(this, QStringLiteral("frmSplash"));
  setWindowTitle(FromUtf8(text::kAppTitle));
  setWindowIcon(ProgramIcon());
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setFixedSize(Px(kWidth), Px(kHeight));
  auto* picture = new QLabel(this);
  Name(picture, QStringLiteral("picSplash"));
  picture->setGeometry(rect());
  picture->setPixmap(SplashPicture(width(), height()));
  picture->setAttribute(Qt::WA_TransparentForMouseEvents);

  const QColor gold(255, 214, 90), white(240, 244, 255), shade(0, 0, 0);
  ShadowedText(this, "Label1", "lblCompanyProduct", QStringLiteral("Vantoro "),
               QRect(480, 540, 3600, 420), 22, white, shade);
  ShadowedText(this, "lblProductName(1)", "lblProductName(0)", QStringLiteral("Tagloom Pro"),
               QRect(480, 960, 4800, 840), 44, gold, shade);
  auto line = [this](const char* name, const QString& text, int top) {
    auto* label = new QLabel(text, this);
    Name(label, QString::fromLatin1(name));
    label->setGeometry(TwipsRect(540, top, 4800, 300));
    Ink(label, QColor(200, 210, 235));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
  };
  line("lblPlatform", QStringLiteral("for Linux"), 1920);
  line("lblVersion", QString::fromStdString(text::VersionText(2)), 2760);

  Timer1_ = new QTimer(this);
  Timer1_->setObjectName(QStringLiteral("Timer1"));
  Timer1_->setInterval(1000);
  connect(Timer1_, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
  Timer1_->start();
}

void frmSplash::Timer1_Timer() {
  if (++ticks_ > 3) CloseSplash();
}

void frmSplash::CloseSplash() {
  if (!closed_) return;  // closed already
  Timer1_->stop();
  hide();
  std::exchange(closed_, nullptr)();
}

void frmSplash::mousePressEvent(QMouseEvent*) {
  CloseSplash();
}

void frmSplash::keyPressEvent(QKeyEvent*) {
  CloseSplash();
}

}  // namespace tagloom::ui
