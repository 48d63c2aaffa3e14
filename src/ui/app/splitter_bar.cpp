#include "ui/app/splitter_bar.h"

#include <QMouseEvent>

namespace sorano {

SplitterBar::SplitterBar(Splitter which, QWidget* back, QWidget* parent)
    : QWidget(parent), drag_(which), back_(back), line_(new QFrame(parent)) {
  setObjectName(which == Splitter::kV ? "splitterV" : which == Splitter::kHT ? "splitterHT" : "splitterHB");
  setCursor(which == Splitter::kV ? Qt::SplitHCursor : Qt::SplitVCursor);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  line_->setObjectName(objectName() + "Line");
  line_->setAutoFillBackground(true);
  line_->setBackgroundRole(QPalette::Dark);  // the button-shadow colour
  line_->setAttribute(Qt::WA_TransparentForMouseEvents);
  line_->hide();
}

void SplitterBar::Apply(const SplitterDrag::LineUpdate& update) {
  if (update.erase) line_->hide();
  if (update.draw) {
    // Across the splitter's extent, at the cursor; in the parent's coordinates.
    const QPoint origin = back_->mapTo(parentWidget(), QPoint(0, 0));
    if (drag_.which() == Splitter::kV) {
      line_->setGeometry(origin.x() + *update.draw - 2, y(), 4, height());
    } else {
      line_->setGeometry(x(), origin.y() + *update.draw - 2, width(), 4);
    }
    line_->raise();
    line_->show();
  }
}

void SplitterBar::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) drag_.Press();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* e) {
  if (!drag_.dragging()) return;
  const QPoint p = back_->mapFromGlobal(e->globalPosition().toPoint());
  Apply(drag_.Move(p.x(), p.y(), back_->width(), back_->height()));
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* e) {
  if (!drag_.dragging()) return;
  if (e->button() == Qt::RightButton) {
    Apply(drag_.RightRelease());
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  const QPoint p = back_->mapFromGlobal(e->globalPosition().toPoint());
  const SplitterDrag::Release r = drag_.LeftRelease(p.x(), p.y(), back_->width(), back_->height(),
                                                    frameWd ? frameWd() : 3, frameHT ? frameHT() : 0);
  line_->hide();
  if (onRelease) onRelease(r);
}

}  // namespace sorano
