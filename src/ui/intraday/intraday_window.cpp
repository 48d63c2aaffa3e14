#include "ui/intraday/intraday_window.h"

#include <QPainter>
#include <mutex>

#include "core/net/net_config.h"
#include "core/text/fixed_field.h"

namespace sorano {

IntradayWindow::IntradayWindow(Workspace& ws, QWidget* owner) : QDialog(owner), ws_(ws) {
  setObjectName("intradayWindow");
  setWindowTitle(QString::fromUtf8(kIntradayTitle.data(), static_cast<qsizetype>(kIntradayTitle.size())));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  resize(kWidth, kHeight);
  refresh_.setInterval(kIntradayRefreshMs);
  connect(&refresh_, &QTimer::timeout, this, &IntradayWindow::Fetch);
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &IntradayWindow::BuildPage);
}

IntradayWindow::~IntradayWindow() {
  // The worker ends before the window does, so no result can arrive for a window that is gone.
  fetcher_.Stop();
}

void IntradayWindow::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (built_) return;
  built_ = true;
  BuildPage();
  refresh_.start();
}

void IntradayWindow::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  if (!built_) return;
  update();  // the last image, rescaled
  settle_.start();
}

void IntradayWindow::BuildPage() {
  const int32_t code = ws_.code();
  int32_t market = 0;
  {
    std::lock_guard lock(ws_.brands.mutex());
    if (const BrandRecord* r = ws_.brands.Find(code)) market = r->market;
  }
  // A window without height or width builds nothing and keeps the page and image it has.
  if (width() <= 0 || height() <= 0) return;
  url_ = IntradayImageUrl(FieldText(ws_.settings.host_chart_image), code, market);
  // The page names the image as the window shows it; the window itself needs no browser to show it.
  WriteIntradayPage(ws_.settings.data_folder(), url_, width(), height());
  Fetch();
}

void IntradayWindow::Fetch() {
  if (url_.empty()) return;
  fetcher_.Start(NetConfigFromSettings(ws_.settings), url_, [this](std::optional<std::string> image) {
    if (!image) return;  // a failed fetch keeps the last good image
    QMetaObject::invokeMethod(
        this, [this, bytes = std::move(*image)] { Show(bytes); }, Qt::QueuedConnection);
  });
}

void IntradayWindow::Show(const std::string& bytes) {
  QImage decoded;
  if (!decoded.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size())))
    return;  // not an image: keep the last good one
  image_ = std::move(decoded);
  update();
  Q_EMIT ImageShown();
}

void IntradayWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  // The image at the client size less 32 pixels each way, centred.
  const QRect target(16, 16, width() - 32, height() - 32);
  if (image_.isNull() || target.width() <= 0 || target.height() <= 0) return;
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(target, image_);
}

void IntradayController::OpenIntradayWindow() {
  if (window_) {
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
    return;
  }
  window_ = new IntradayWindow(ws_, owner_);
  ws_.intradayWindowOpen = true;
  closed_ = QObject::connect(window_, &QObject::destroyed, owner_, [this] {
    ws_.intradayWindowOpen = false;
    if (marksChanged_) marksChanged_();
  });
  window_->show();
}

IntradayController::~IntradayController() {
  // The owner is going: the window goes first, without calling back into what is being destroyed.
  QObject::disconnect(closed_);
  delete window_.data();
  ws_.intradayWindowOpen = false;
}

}  // namespace sorano
