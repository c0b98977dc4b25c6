#include "mainwindow/about_box.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "mainwindow/registry.h"
#include "mainwindow/version.h"

namespace qv {

namespace {

constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

const char* const kDescription =
    "An editor and librarian for the CS2x synthesizer: retrieve the current performance and the "
    "multi parts M5 to M16, audition and edit them, build multi parts from layers through the "
    "Layer Pool, and keep the whole setup in files of your own.";

const char* const kDisclaimer =
    "This program is provided as it is, without a warranty of any kind, either expressed or "
    "implied. You use it at your own risk: its author is not liable for any loss of data or "
    "damage to equipment that may come of its use.\n\n"
    "The CS2x is a product of its maker, who owns its names and trademarks. Quorvane is an "
    "independent program; it is not made, endorsed or supported by the instrument's maker.";

}  // namespace

AboutBox::AboutBox(Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
  setObjectName(QStringLiteral("frmAbout"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("About ") + QString::fromLatin1(kAppTitle));

  readRegistry = ReadRegistryValue;
  startProgram = [](const QString& program) { return QProcess::startDetached(program, {}); };

  icon_ = new QLabel(this);
  icon_->setObjectName(QStringLiteral("picIcon"));
  QIcon icon = QApplication::windowIcon();
  if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_ComputerIcon);
  icon_->setPixmap(icon.pixmap(48, 48));
  icon_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  title_ = new QLabel(QString::fromLatin1(kAppTitle), this);
  title_->setObjectName(QStringLiteral("lblTitle"));
  QFont titleFont = title_->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
  titleFont.setBold(true);
  title_->setFont(titleFont);

  version_ = new QLabel(VersionText(), this);
  version_->setObjectName(QStringLiteral("lblVersion"));

  description_ = new QLabel(QString::fromLatin1(kDescription), this);
  description_->setObjectName(QStringLiteral("lblDescription"));
  description_->setWordWrap(true);

  disclaimer_ = new QLabel(QString::fromLatin1(kDisclaimer), this);
  disclaimer_->setObjectName(QStringLiteral("lblDisclaimer"));
  disclaimer_->setWordWrap(true);
  QFont smallFont = disclaimer_->font();
  smallFont.setPointSizeF(smallFont.pointSizeF() * 0.9);
  disclaimer_->setFont(smallFont);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("cmdOK"));
  ok_->setDefault(true);
  sysInfo_ = new QPushButton(QStringLiteral("&System Info..."), this);
  sysInfo_->setObjectName(QStringLiteral("cmdSysInfo"));

  auto* text = new QVBoxLayout;
  text->addWidget(title_);
  text->addWidget(version_);
  text->addSpacing(8);
  text->addWidget(description_);
  auto* top = new QHBoxLayout;
  top->addWidget(icon_);
  top->addSpacing(12);
  top->addLayout(text, 1);

  auto* buttons = new QVBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(sysInfo_);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(disclaimer_, 1);
  bottom->addSpacing(12);
  bottom->addLayout(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  layout->addWidget(line);
  layout->addLayout(bottom);
  setMinimumWidth(520);

  connect(ok_, &QPushButton::clicked, this, &QDialog::close);
  connect(sysInfo_, &QPushButton::clicked, this, [this] { StartSysInfo(); });
}

bool AboutBox::GetKeyValue(std::uint32_t rootKey, const std::string& keyName, const std::string& valueName,
                           std::string& value) {
  if (readRegistry && readRegistry(rootKey, keyName, valueName, value)) return true;
  value.clear();
  return false;
}

void AboutBox::StartSysInfo() {
  std::string path;
  bool started = false;
  if (GetKeyValue(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path)) {
    started = startProgram && startProgram(QString::fromStdString(path));
  } else if (GetKeyValue(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path)) {
    const QString program = QString::fromStdString(path + "\\MSINFO32.EXE");
    started = QFileInfo::exists(program) && startProgram && startProgram(program);
  }
  if (!started) prompts_.Message(kSysInfoUnavailable);
}

}  // namespace qv
