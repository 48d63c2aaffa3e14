#pragma once
// The About box: a picture of our own under white texts, no title bar, centred on the desktop; any
// mouse button pressed on it closes it.
#include <QDialog>

#include "core/app/about_box.h"

namespace sorano {

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(const AboutContent& content, QWidget* parent = nullptr);
  // 274 x 203 dialog units at the usual 1.5 x 1.625 pixels each.
  static constexpr int kWidth = 411;
  static constexpr int kHeight = 330;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
};

class AboutBoxRunner : public AboutBoxView {
 public:
  explicit AboutBoxRunner(QWidget* owner) : owner_(owner) {}
  void ShowAboutBox(const AboutContent& content) override;

 private:
  QWidget* owner_;
};

}  // namespace sorano
