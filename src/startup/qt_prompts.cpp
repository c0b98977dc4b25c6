#include "startup/qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace qv {

namespace {

QString Title(const std::string& title) {
  return QString::fromStdString(title.empty() ? std::string(kAppTitle) : title);
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
  QStringList entries;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    if (i + 1 >= parts.size()) {
      if (!description.isEmpty()) entries << description;
      break;
    }
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    description.remove(trailingPatterns);
    entries << (description.isEmpty() ? patterns : description) + QStringLiteral(" (") + patterns +
                   QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

QWidget* QtPrompts::Parent() const {
  return parent_ ? parent_.data() : QApplication::activeWindow();
}

void QtPrompts::Message(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::NoIcon, Title(title), QString::fromStdString(text), QMessageBox::Ok, Parent());
  box.exec();
}

Prompts::Answer QtPrompts::Question(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::Question, Title(title), QString::fromStdString(text),
                  QMessageBox::Ok | QMessageBox::Cancel, Parent());
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<std::string> QtPrompts::OpenFile(const std::string& filter) {
  const QString name = QFileDialog::getOpenFileName(Parent(), QString(), lastPath_, QtFileFilter(filter));
  if (name.isEmpty()) return std::nullopt;
  lastPath_ = name;
  return name.toStdString();
}

std::optional<std::string> QtPrompts::SaveFile(const std::string& filter) {
  const QString name = QFileDialog::getSaveFileName(Parent(), QString(), lastPath_, QtFileFilter(filter));
  if (name.isEmpty()) return std::nullopt;
  lastPath_ = name;
  return name.toStdString();
}

}  // namespace qv
