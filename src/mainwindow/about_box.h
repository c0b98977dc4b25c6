#pragma once
// The about box: the program's title and version, a disclaimer, and a
// button that starts the system information tool.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

#include "link/prompts.h"

class QLabel;
class QPushButton;

namespace qv {

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  // The box deletes itself when it is closed: create it with new and show it.
  explicit AboutBox(Prompts& prompts, QWidget* parent = nullptr);

  // Starts the system information tool, or says that it cannot.
  void StartSysInfo();
  // One registry value as text; false (and empty text) when it cannot be read.
  bool GetKeyValue(std::uint32_t rootKey, const std::string& keyName, const std::string& valueName,
                   std::string& value);

  // The registry and the program starter; replaceable for tests.
  std::function<bool(std::uint32_t, const std::string&, const std::string&, std::string&)> readRegistry;
  std::function<bool(const QString&)> startProgram;

 private:
  Prompts& prompts_;
  QLabel* icon_;          // picIcon
  QLabel* title_;         // lblTitle
  QLabel* version_;       // lblVersion
  QLabel* description_;   // lblDescription
  QLabel* disclaimer_;    // lblDisclaimer
  QPushButton* ok_;       // cmdOK
  QPushButton* sysInfo_;  // cmdSysInfo
};

}  // namespace qv
