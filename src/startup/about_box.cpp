#include "startup/about_box.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QProcess>
#include <QStyle>
#include <QVBoxLayout>

#include "startup/registry.h"
#include "startup/version.h"

namespace qv {

namespace {

constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

const char* const kDescription =
    "An editor and librarian for the Yamaha CS2x: retrieve the current performance and the "
    "multi parts M5 to M16, audition and edit them, build multi parts from layers through the "
    "Layer Pool, and keep the whole setup in files of your own.";

const char* const kDisclaimer =
    "This program is provided as it is, without a warranty of any kind, either expressed or "
    "implied. You use it at your own risk: its author is not liable for any loss of data or "
    "damage to equipment that may come of its use.\n\n"
    "The CS2x is a product of Yamaha Corporation, which owns its names and trademarks. "
    "Quorvane is an independent program; it is not made, endorsed or supported by Yamaha.";

}  // namespace

AboutBox::AboutBox(Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
  setObjectName(QStringLiteral("frmAbout"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("About ") + QString::fromLatin1(kAppTitle));

  readRegistry = ReadRegistryValue;
  startProgram = [](const QString& program) { return QProcess::startDetached(program, {}); };

  picIcon = new QLabel(this);
  picIcon->setObjectName(QStringLiteral("picIcon"));
  QIcon icon = QApplication::windowIcon();
  if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_ComputerIcon);
  picIcon->setPixmap(icon.pixmap(48, 48));
  picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  lblTitle = new QLabel(QString::fromLatin1(kAppTitle), this);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  QFont titleFont = lblTitle->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);

  lblVersion = new QLabel(VersionText(), this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));

  lblDescription = new QLabel(QString::fromLatin1(kDescription), this);
  lblDescription->setObjectName(QStringLiteral("lblDescription"));
  lblDescription->setWordWrap(true);

  lblDisclaimer = new QLabel(QString::fromLatin1(kDisclaimer), this);
  lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
  lblDisclaimer->setWordWrap(true);
  QFont smallFont = lblDisclaimer->font();
  smallFont.setPointSizeF(smallFont.pointSizeF() * 0.9);
  lblDisclaimer->setFont(smallFont);

  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
  cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

  auto* text = new QVBoxLayout;
  text->addWidget(lblTitle);
  text->addWidget(lblVersion);
  text->addSpacing(8);
  text->addWidget(lblDescription);
  auto* top = new QHBoxLayout;
  top->addWidget(picIcon);
  top->addSpacing(12);
  top->addLayout(text, 1);

  auto* buttons = new QVBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdSysInfo);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lblDisclaimer, 1);
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

  connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
  connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(); });
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
