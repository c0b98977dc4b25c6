#pragma once
// The editor's notices as Qt signals: the panels connect to the ones they
// draw.

#include <QObject>
#include <string>

#include "editor/editor_view.h"

namespace qv {

class EditorSignals : public QObject, public EditorView {
  Q_OBJECT
 public:
  explicit EditorSignals(QObject* parent = nullptr) : QObject(parent) {}

  void ClearTrace() override { emit TraceCleared(); }
  void AddTraceLine(const std::string& line) override { emit TraceLineAdded(QString::fromStdString(line)); }
  void PerformanceShown() override { emit PerformanceChanged(); }
  void PartCaptionChanged(int part) override { emit CaptionChanged(part); }
  void ChannelRowChanged(int part) override { emit ChannelChanged(part); }
  void PoolChanged() override { emit PoolRowsChanged(); }
  void EditedNameChanged() override { emit EditedNameToShow(); }
  void RefillEditPanel() override { emit EditPanelToRefill(); }
  void ShowMultiEditPanel(int part) override { emit MultiEditPanelToShow(part); }
  void ShowEffectsPanel() override { emit EffectsPanelToShow(); }
  void PerformanceSelected() override { emit PerformanceChosen(); }
  void HideEffectsPanel() override { emit EffectsPanelToHide(); }
  void HideMultiEditPanel() override { emit MultiEditPanelToHide(); }
  void EffectsBypassEnded() override { emit BypassEnded(); }

 signals:
  void TraceCleared();
  void TraceLineAdded(const QString& line);
  void PerformanceChanged();
  void CaptionChanged(int part);
  void ChannelChanged(int part);
  void PoolRowsChanged();
  void EditedNameToShow();
  void EditPanelToRefill();
  void MultiEditPanelToShow(int part);
  void EffectsPanelToShow();
  void PerformanceChosen();
  void EffectsPanelToHide();
  void MultiEditPanelToHide();
  void BypassEnded();
};

}  // namespace qv
