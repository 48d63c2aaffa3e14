#include "ui/app/about_box.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

namespace sorano {
namespace {

QLabel* WhiteText(const QString& text, int pixelSize, bool bold, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  label->setPalette(palette);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);  // a press on a text closes the box too
  return label;
}

QString U(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

AboutBox::AboutBox(const AboutContent& content, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName("aboutBox");
  setFixedSize(kWidth, kHeight);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 16);
  layout->setSpacing(2);
  layout->addWidget(WhiteText(U(content.title), 26, true, this));
  layout->addSpacing(110);
  for (const std::string& line : content.libraries) layout->addWidget(WhiteText(U(line), 12, false, this));
  layout->addSpacing(8);
  layout->addWidget(WhiteText(U(content.site), 12, false, this));
  layout->addStretch(1);
  for (std::string_view line : content.credits) layout->addWidget(WhiteText(U(line), 11, false, this));
}

void AboutBox::paintEvent(QPaintEvent*) {
  // Our picture: a night-blue field with a faint grid, a run of candles and their moving average.
  QPainter p(this);
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0, QColor(10, 24, 60));
  sky.setColorAt(1, QColor(0, 60, 50));
  p.fillRect(rect(), sky);
  p.setPen(QColor(255, 255, 255, 28));
  for (int x = 0; x < width(); x += 24) p.drawLine(x, 0, x, height());
  for (int y = 0; y < height(); y += 24) p.drawLine(0, y, width(), y);

  p.setRenderHint(QPainter::Antialiasing);
  const int base = 150, step = 17;
  QPainterPath average;
  for (int i = 0; i < width() / step; ++i) {
    const double t = i * 0.45;
    const int open = base - static_cast<int>(30 * std::sin(t) + i * 1.2);
    const int close = base - static_cast<int>(30 * std::sin(t + 0.45) + (i + 1) * 1.2);
    const int x = 10 + i * step;
    const bool rising = close < open;
    p.setPen(QColor(200, 200, 200, 150));
    p.drawLine(x + 5, std::min(open, close) - 8, x + 5, std::max(open, close) + 8);
    p.fillRect(x, std::min(open, close), 10, std::max(2, std::abs(close - open)),
               rising ? QColor(230, 230, 230, 170) : QColor(230, 60, 60, 170));
    const QPointF mid(x + 5, (open + close) / 2.0 + 6);
    if (i == 0)
      average.moveTo(mid);
    else
      average.lineTo(mid);
  }
  p.setPen(QPen(QColor(90, 220, 120, 200), 2));
  p.drawPath(average);
}

void AboutBox::mousePressEvent(QMouseEvent*) {
  accept();  // any button
}

void AboutBoxRunner::ShowAboutBox(const AboutContent& content) {
  AboutBox box(content, owner_);
  // Centred on the desktop, whatever the owner's position.
  const QScreen* screen = owner_ != nullptr ? owner_->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    const QRect desktop = screen->geometry();
    box.move(desktop.x() + (desktop.width() - box.width()) / 2,
             desktop.y() + (desktop.height() - box.height()) / 2);
  }
  box.exec();
}

}  // namespace sorano
