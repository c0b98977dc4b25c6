#include "mainwindow/main_window.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace qv {

namespace {

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QAction* NamedAction(QMenu* menu, const QString& name, const QString& caption) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  return action;
}

}  // namespace

MainWindow::MainWindow(MidiBackend& backend, Prompts& prompts, Clock& clock, StartupPreferences& prefs,
                       QWidget* parent)
    : QMainWindow(parent), backend_(backend), prompts_(prompts), clock_(clock), prefs_(prefs) {
  link_ = std::make_unique<MidiLink>(backend_, prompts_, clock_, model_, *this);
  session_ = std::make_unique<Session>(model_, *link_, *this);

  setObjectName("frmMain");
  setWindowTitle(QString::fromLatin1(kAppTitle));

  auto* central = new QWidget(this);
  auto* columns = new QHBoxLayout(central);
  auto* left = new QVBoxLayout;
  left->addWidget(BuildPerformancePanel());
  left->addWidget(BuildAuditionPanel());
  left->addStretch(1);
  columns->addLayout(left);
  columns->addWidget(BuildMultiColumn());
  columns->addWidget(BuildEditPanels());
  columns->addWidget(BuildLayerPoolPanel(), 1);
  setCentralWidget(central);

  BuildMenus();

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setSingleShot(true);
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
  Timer1->start();

  SetUpMidiMenuExitAndDebug();
  BuildHelpMenu();
  SetUpAuditionAndDragDrop();
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::BuildPerformancePanel() {
  auto* panel = Named(new QWidget, "PerformancePanel");
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);

  Frame1 = Named(new QGroupBox, "Frame1");
  auto* kind = new QHBoxLayout(Frame1);
  OptPreset = Named(new QRadioButton("Preset"), "OptPreset");
  OptUser = Named(new QRadioButton("User"), "OptUser");
  OptPreset->setChecked(true);
  kind->addWidget(OptPreset);
  kind->addWidget(OptUser);
  Frame2 = Named(new QGroupBox, "Frame2");
  auto* bank = new QHBoxLayout(Frame2);
  OptBank1 = Named(new QRadioButton("Bank1"), "OptBank1");
  OptBank2 = Named(new QRadioButton("Bank2"), "OptBank2");
  OptBank1->setChecked(true);
  bank->addWidget(OptBank1);
  bank->addWidget(OptBank2);
  connect(OptPreset, &QRadioButton::clicked, this, [this] { OptPreset_Click(); });
  connect(OptUser, &QRadioButton::clicked, this, [this] { OptUser_Click(); });
  connect(OptBank1, &QRadioButton::clicked, this, [this] { OptBank1_Click(); });
  connect(OptBank2, &QRadioButton::clicked, this, [this] { OptBank2_Click(); });

  auto* program = new QHBoxLayout;
  program->addWidget(Named(new QLabel("Prgm"), "LblPrgm"));
  CmbPrgm = Named(new QComboBox, "CmbPrgm");
  CmbPrgm->setMaxVisibleItems(24);
  connect(CmbPrgm, &QComboBox::activated, this, [this] { CmbPrgm_Click(); });
  program->addWidget(CmbPrgm, 1);

  CmdPrfm = Named(new QPushButton("Performance"), "CmdPrfm");
  CmdPrfm->setMinimumHeight(32);

  layout->addWidget(Frame1);
  layout->addWidget(Frame2);
  layout->addLayout(program);
  layout->addWidget(CmdPrfm);

  auto* layers = new QGridLayout;
  for (int l = 1; l <= 4; ++l) {
    LayerControls& c = Layer(l);
    c.layer = l;
    c.CmdLyr = new QPushButton(QString("Layer %1").arg(l));
    c.CmdLyr->setObjectName(QString("CmdLyr%1").arg(l));
    c.TxtLyr = new QLineEdit(QString(9, ' '));
    c.TxtLyr->setObjectName(QString("TxtLyr%1").arg(l));
    c.TxtLyr->setReadOnly(true);
    c.TxtLyr->setMinimumWidth(c.TxtLyr->fontMetrics().horizontalAdvance(QString(11, 'W')));
    c.TxtLyr->setToolTip("Drag Layer onto Layer Pool.");
    layers->addWidget(c.CmdLyr, l - 1, 0);
    layers->addWidget(c.TxtLyr, l - 1, 1);
  }
  layout->addLayout(layers);
  return panel;
}

QWidget* MainWindow::BuildAuditionPanel() {
  auto* panel = Named(new QGroupBox("Audition"), "AuditionPanel");
  auto* grid = new QGridLayout(panel);
  auto makeSlider = [](const char* name) {
    auto* s = new QSlider(Qt::Vertical);
    s->setObjectName(name);
    s->setRange(0, 127);
    s->setInvertedAppearance(true);  // value 0 at the top: the top end is row 127
    s->setInvertedControls(true);
    s->setMinimumHeight(120);
    return s;
  };
  CmbMidNtNo = Named(new QComboBox, "CmbMidNtNo");
  CmbMidVel = Named(new QComboBox, "CmbMidVel");
  SldNt = makeSlider("SldNt");
  SldVel = makeSlider("SldVel");
  grid->addWidget(Named(new QLabel("Note"), "LblNote"), 0, 0);
  grid->addWidget(Named(new QLabel("Velocity"), "LblVelocity"), 0, 1);
  grid->addWidget(CmbMidNtNo, 1, 0);
  grid->addWidget(CmbMidVel, 1, 1);
  grid->addWidget(SldNt, 2, 0, Qt::AlignHCenter);
  grid->addWidget(SldVel, 2, 1, Qt::AlignHCenter);
  connect(CmbMidNtNo, &QComboBox::activated, this, [this] { CmbMidNtNo_Click(); });
  connect(CmbMidVel, &QComboBox::activated, this, [this] { CmbMidVel_Click(); });
  connect(SldNt, &QSlider::valueChanged, this, [this] { SldNt_Update(); });
  connect(SldVel, &QSlider::valueChanged, this, [this] { SldVel_Update(); });
  return panel;
}

QWidget* MainWindow::BuildMultiColumn() {
  auto* panel = Named(new QWidget, "MultiColumn");
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(Named(new QLabel("Midi Chan"), "LblMidiChan"), 0, 1);
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    MultiPartControls& c = Multi(part);
    c.part = part;
    c.CmdMult = new QPushButton(DefaultMultiCaption(part));
    c.CmdMult->setObjectName(QString("CmdMult%1").arg(part + 1));
    c.CmdMult->setToolTip(
        "Click on Button to audition sound (all multi currently assigned to this channel will play) or drag multi "
        "back to layer pool.");
    c.CmdMult->setMinimumWidth(150);
    c.CmbMult = new QComboBox;
    c.CmbMult->setObjectName(QString("CmbMult%1").arg(part + 1));
    c.CmbMult->setToolTip(
        "Select a midi channel to group sounds together so that multiple voices sound on one channel or choose an "
        "unused channel to isolate individual sound.");
    connect(c.CmbMult, &QComboBox::activated, this, [this, part] { CmbMult_Click(part); });
    grid->addWidget(c.CmdMult, part - kFirstMultiPart + 1, 0);
    grid->addWidget(c.CmbMult, part - kFirstMultiPart + 1, 1);
  }
  grid->setRowStretch(kLastMultiPart - kFirstMultiPart + 2, 1);
  return panel;
}

QWidget* MainWindow::BuildEditPanels() {
  auto* panel = Named(new QWidget, "EditPanels");
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  SSTab2 = new EffectsPanel(model_, *link_, *this);
  SSTab1 = new MultiEditPanel(model_, *link_, *this);
  layout->addWidget(SSTab2);
  layout->addWidget(SSTab1);
  layout->addStretch(1);
  SSTab1->hide();
  SSTab2->hide();
  return panel;
}

QWidget* MainWindow::BuildLayerPoolPanel() {
  auto* panel = Named(new QWidget, "LayerPoolPanel");
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Named(new QLabel("Layer Pool"), "LblLayerPool"));
  LbxLyrPool = Named(new QListWidget, "LbxLyrPool");
  LbxLyrPool->setToolTip("Drag and drop a layer onto one of the Multi Part buttons.");
  LbxLyrPool->setMinimumWidth(LbxLyrPool->fontMetrics().horizontalAdvance(QString(14, 'W')));
  layout->addWidget(LbxLyrPool, 1);
  CmdClrLyrPool = Named(new QPushButton("Clear"), "CmdClrLyrPool");
  CmdClrLyrPool->setToolTip("Click to remove all entries from layer pool.");
  layout->addWidget(CmdClrLyrPool);
  List1 = Named(new QListWidget, "List1");
  List1->setFont(QFont("Monospace", 8));
  layout->addWidget(List1, 1);
  return panel;
}

void MainWindow::BuildMenus() {
  FileMenu = menuBar()->addMenu("File");
  FileMenu->setObjectName("FileMenu");
  StrtupPref = NamedAction(FileMenu, "StrtupPref", "Startup Preferences");
  connect(StrtupPref, &QAction::triggered, this, [this] { StrtupPref_Click(); });

  EditMenu = menuBar()->addMenu("Edit");
  EditMenu->setObjectName("EditMenu");
  QMenu* editMulti = EditMenu->addMenu("Multi");
  editMulti->setObjectName("EditMult");
  EditEffcts = NamedAction(EditMenu, "EditEffcts", "Effects");
  connect(EditEffcts, &QAction::triggered, this, [this] { EditEffcts_Click(); });

  Retrv = menuBar()->addMenu("Retrieve");
  Retrv->setObjectName("Retrv");
  RtrvPerf = NamedAction(Retrv, "RtrvPerf", "Performance");
  RtrvAllMulti = NamedAction(Retrv, "RtrvAllMulti", "All Multis");
  QMenu* rtrvMulti = Retrv->addMenu("Multi");
  rtrvMulti->setObjectName("RtrvMulti");
  connect(RtrvPerf, &QAction::triggered, this, [this] { RtrvPerf_Click(); });
  connect(RtrvAllMulti, &QAction::triggered, this, [this] { RtrvAllMulti_Click(); });

  Init = menuBar()->addMenu("Initialize");
  Init->setObjectName("Init");
  InitMltall = NamedAction(Init, "InitMltall", "All Multis");
  QMenu* initMulti = Init->addMenu("Multi");
  initMulti->setObjectName("InitMlt");
  connect(InitMltall, &QAction::triggered, this, [this] { InitMltall_Click(); });

  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    MultiPartControls& c = Multi(part);
    const int multi = part + 1;
    c.RtrvMulti = NamedAction(rtrvMulti, QString("RtrvMulti%1").arg(multi), QString("Multi %1").arg(multi));
    c.InitMlt = NamedAction(initMulti, QString("InitMlt%1").arg(multi), QString("Multi %1").arg(multi));
    connect(c.RtrvMulti, &QAction::triggered, this, [this, multi] { RtrvMulti_Click(multi); });
    connect(c.InitMlt, &QAction::triggered, this, [this, part] { InitMlt_Click(part); });
    c.EditMult = NamedAction(editMulti, QString("EditMult%1").arg(multi), QString("Multi %1").arg(multi));
    connect(c.EditMult, &QAction::triggered, this, [this, part] { EditMult(part); });
  }
}

QString MainWindow::DefaultMultiCaption(int part) { return QString("Multi Part M%1").arg(part + 1); }

void MainWindow::SelectRow(QComboBox* combo, int row) {
  combo->setCurrentIndex(row);
  if (combo == CmbPrgm) return CmbPrgm_Click();
  if (combo == CmbMidNtNo) return CmbMidNtNo_Click();
  if (combo == CmbMidVel) return CmbMidVel_Click();
  for (MultiPartControls& c : Multis)
    if (combo == c.CmbMult) return CmbMult_Click(c.part);
}

void MainWindow::StrtupPref_Click() { prefs_.ShowPreferences(); }

}  // namespace qv
