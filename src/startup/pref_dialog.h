#pragma once
// The start-up preferences dialog: the MIDI devices, the multi parts to
// retrieve at start, a workspace to load at start, the performance MIDI
// channel and the density of exported MIDI files. It stays loaded for the
// whole run; its controls are the values being chosen. Each OK hands them
// over (onOk), and the receiver holds the preferences in force; a channel
// chosen after start-up is handed over at once (onPerfChannelChanged). The
// file "quorv.ini" in the program's folder keeps them between runs.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <array>
#include <functional>

#include "files/preferences_record.h"
#include "link/prompts.h"

namespace qv {

struct MidiDeviceNames;

class PrefDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kFirstMulti = 5;
  static constexpr int kMultiCount = PreferencesRecord::kMultiCount;  // M5..M16

  // Lists the devices (ListMidiDevices) and reads
  // `<folder>/quorv.ini` into the controls.
  PrefDialog(const MidiDeviceNames& devices, Prompts& prompts, const QString& folder, QWidget* parent = nullptr);

  // True until the first OK: that OK runs onOkAtStartUp (before the file is
  // written) and clears the flag. While it is set, a change of the
  // performance channel applies nothing.
  bool startingUp = true;
  std::function<void()> onOkAtStartUp;
  // Every OK hands the values over, after onOkAtStartUp and before the file
  // is written: the record is the preferences in force.
  std::function<void(const PreferencesRecord&)> onOk;
  // Runs with the row (0..15) when the user chooses a performance channel
  // while startingUp is false: the channel applies at once.
  std::function<void(int)> onPerfChannelChanged;

  QString PreferencesFile() const;

  void ReadPreferences();
  // Writes the controls to the file; false when it could not be written.
  bool SavePreferences();

  PreferencesRecord ToRecord() const;
  void ApplyRecord(const PreferencesRecord& record);

 protected:
  // A click on the text beside ChkLdFile toggles the box, as a click on the
  // caption of any other check box does.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildLayout();
  int PerfChannelRow() const;  // 0..15: channel 1..16
  void OKButton_Click();
  void cmbPerfChnl_Click();
  void CmdBrowse_Click();

  // The controls by role; each keeps its name as its object name.
  QLabel* retrieveQuestion_ = nullptr;                    // Label1
  QLabel* retrieveNote_ = nullptr;                        // Label2
  std::array<QCheckBox*, kMultiCount> retrieveBoxes_{};  // ChkMlt5..ChkMlt16 (Chkmlt8 for M8)
  QLabel* loadQuestion_ = nullptr;                        // Label3
  QCheckBox* loadAtStart_ = nullptr;                      // ChkLdFile
  QLineEdit* workspacePath_ = nullptr;                    // TxtLdFile
  QPushButton* browse_ = nullptr;                         // CmdBrowse
  QLabel* inLabel_ = nullptr;                             // Label4
  QComboBox* inDevices_ = nullptr;                        // Combo1, row = device number
  QLabel* outLabel_ = nullptr;                            // Label5
  QComboBox* outDevices_ = nullptr;                       // Combo2, row = device number
  QLabel* channelLabel_ = nullptr;                        // Labelx1
  QComboBox* perfChannels_ = nullptr;                     // cmbPerfChnl, row = channel 0..15
  std::array<QLabel*, 3> densityLabels_{};                // Label6: "High", "Low", "Midi File Density"
  QSlider* density_ = nullptr;                            // Slider1
  QPushButton* ok_ = nullptr;                             // OKButton

  Prompts& prompts_;
  QString folder_;
  bool inOk_ = false;
  bool label3Pressed_ = false;
};

}  // namespace qv
