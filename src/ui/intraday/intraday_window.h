#pragma once
// The intraday chart window: one modeless window showing the chart service's image of the shown
// brand's day, fetched on a worker, refreshed every five minutes. While an edge is dragged the last
// image is rescaled; the page is rebuilt and the image fetched once the size has settled.
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <string>

#include "core/app/intraday_view.h"
#include "core/app/workspace.h"
#include "core/intraday/intraday_page.h"

namespace sorano {

class IntradayWindow : public QDialog {
  Q_OBJECT
 public:
  IntradayWindow(Workspace& ws, QWidget* owner);
  ~IntradayWindow() override;

  // 256 x 144 dialog units at 1.5 x 1.625 pixels each.
  static constexpr int kWidth = 384;
  static constexpr int kHeight = 234;
  // How long the size must stay unchanged before the page is rebuilt, milliseconds.
  static constexpr int kSettleMs = 400;

  const QImage& image() const { return image_; }

 Q_SIGNALS:
  // A fetched image was decoded and is shown.
  void ImageShown();

 protected:
  void showEvent(QShowEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void paintEvent(QPaintEvent*) override;

 private:
  void BuildPage();
  void Fetch();
  void Show(const std::string& bytes);

  Workspace& ws_;
  IntradayFetcher fetcher_;
  QTimer refresh_;
  QTimer settle_;
  std::string url_;
  QImage image_;
  bool built_ = false;
};

// The view the intraday command opens the window through; keeps Workspace::intradayWindowOpen in step
// and tells the owner (marksChanged) when the window goes.
class IntradayController : public IntradayView {
 public:
  IntradayController(Workspace& ws, QWidget* owner, std::function<void()> marksChanged)
      : ws_(ws), owner_(owner), marksChanged_(std::move(marksChanged)) {}
  ~IntradayController() override;
  void OpenIntradayWindow() override;
  IntradayWindow* window() const { return window_; }

 private:
  Workspace& ws_;
  QWidget* owner_;
  std::function<void()> marksChanged_;
  QPointer<IntradayWindow> window_;
  QMetaObject::Connection closed_;
};

}  // namespace sorano
