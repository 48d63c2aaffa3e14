#pragma once
// The three splitter bars between the panes. Dragging shows a 4-pixel line in the button-shadow
// colour that follows the cursor over the back frame; the release rules are core's SplitterDrag.
#include <QFrame>
#include <QWidget>
#include <functional>

#include "core/app/pane_layout.h"

namespace sorano {

class SplitterBar : public QWidget {
  Q_OBJECT
 public:
  // back: the back frame the drag line is drawn over and the coordinates are taken in.
  SplitterBar(Splitter which, QWidget* back, QWidget* parent);

  // Called with the release; the window applies it to the settings and lays out again.
  std::function<void(const SplitterDrag::Release&)> onRelease;
  // Splitter thickness and current HT, read at each release.
  std::function<int32_t()> frameWd;
  std::function<int32_t()> frameHT;

  bool dragging() const { return drag_.dragging(); }
  QWidget* dragLine() const { return line_; }

 protected:
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  void Apply(const SplitterDrag::LineUpdate& update);

  SplitterDrag drag_;
  QWidget* back_;
  QFrame* line_;  // the drag line, above every pane while shown
};

}  // namespace sorano
