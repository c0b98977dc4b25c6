#include "startup/splash_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

#include "link/prompts.h"
#include "mainwindow/version.h"

namespace qv {

SplashWindow::SplashWindow(QWidget* parent) : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmSplash"));
  setWindowTitle(QString::fromLatin1(kAppTitle));
  setFrameShape(QFrame::Box);
  setLineWidth(2);

  lblTitle = new QLabel(QString::fromLatin1(kAppTitle), this);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  QFont titleFont = lblTitle->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 2.2);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);

  lblVersion = new QLabel(VersionText(), this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));

  lblStatus = new QLabel(QStringLiteral("Starting up: opening MIDI devices and reading the instrument ..."), this);
  lblStatus->setObjectName(QStringLiteral("lblStatus"));

  for (QLabel* label : {lblTitle, lblVersion, lblStatus}) label->setAlignment(Qt::AlignCenter);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(48, 36, 48, 36);
  layout->setSpacing(14);
  layout->addWidget(lblTitle);
  layout->addWidget(lblVersion);
  layout->addSpacing(12);
  layout->addWidget(lblStatus);
}

void SplashWindow::ShowNow() {
  adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  show();
  raise();
  // Wait briefly for the window system to map the window, then paint it.
  QElapsedTimer waited;
  waited.start();
  while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 500) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(5);
  }
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SplashWindow::keyPressEvent(QKeyEvent* event) { event->accept(); }

void SplashWindow::mousePressEvent(QMouseEvent* event) { event->accept(); }

}  // namespace qv
