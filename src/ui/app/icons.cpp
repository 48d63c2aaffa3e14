#include "ui/app/icons.h"

#include <QPainter>
#include <QPainterPath>

namespace sorano {

namespace {

const QColor kInk(40, 40, 40);
const QColor kRise(200, 40, 40);
const QColor kFall(30, 90, 190);

QPixmap Blank(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  return pm;
}

void Candle(QPainter& p, int x, int top, int bottom, int bodyTop, int bodyBottom, const QColor& c) {
  p.setPen(QPen(kInk, 1));
  p.drawLine(x, top, x, bottom);
  p.fillRect(x - 2, bodyTop, 5, bodyBottom - bodyTop, c);
  p.drawRect(x - 2, bodyTop, 4, bodyBottom - bodyTop - 1);
}

void Letter(QPainter& p, const QString& text, const QColor& c, int size) {
  QFont f = p.font();
  f.setPixelSize(size);
  f.setBold(true);
  p.setFont(f);
  p.setPen(c);
  p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, text);
}

void Panes(QPainter& p, bool list, bool chart, bool technical) {
  p.setPen(QPen(kInk, 1));
  p.drawRect(1, 2, 21, 19);
  if (list) {
    for (int y = 5; y < 20; y += 3) p.drawLine(3, y, chart || technical ? 8 : 20, y);
  }
  if (chart) p.fillRect(list ? 10 : 3, 4, list ? 11 : 18, technical ? 9 : 16, QColor(30, 60, 30));
  if (technical) {
    const int top = chart ? 14 : 4;
    p.fillRect(list ? 10 : 3, top, list ? 11 : 18, 20 - top, QColor(230, 230, 200));
    p.setPen(QPen(kRise, 1));
    p.drawLine(list ? 10 : 3, 18, 14, top + 1);
    p.drawLine(14, top + 1, 21, 18);
  }
}

}  // namespace

QPixmap ToolbarImage(int bitmap) {
  QPixmap pm = Blank(24);
  QPainter p(&pm);
  switch (bitmap) {
    case 278: {  // screening search: a magnifier over a list
      p.setPen(QPen(kInk, 1));
      for (int y = 4; y < 20; y += 4) p.drawLine(2, y, 12, y);
      p.setPen(QPen(kFall, 2));
      p.drawEllipse(10, 8, 8, 8);
      p.drawLine(17, 16, 21, 21);
      break;
    }
    case 279:
      Panes(p, true, false, false);
      break;  // list full screen
    case 288:
      Panes(p, false, true, false);
      break;  // chart full screen
    case 289:
      Panes(p, false, false, true);
      break;  // technical full screen
    case 290:
      Panes(p, true, true, true);
      break;  // standard screen
    case 287:
      Letter(p, QStringLiteral("日"), kInk, 16);
      break;
    case 283:
      Letter(p, QStringLiteral("週"), kInk, 16);
      break;
    case 284:
      Letter(p, QStringLiteral("月"), kInk, 16);
      break;
    case 285: {  // free line
      p.setPen(QPen(kFall, 2));
      p.drawLine(3, 20, 21, 4);
      break;
    }
    case 286: {  // left-right line
      p.setPen(QPen(kFall, 2));
      p.drawLine(2, 12, 22, 12);
      break;
    }
    case 294: {  // up-down line
      p.setPen(QPen(kFall, 2));
      p.drawLine(12, 2, 12, 22);
      break;
    }
    case 295: {  // line fitted onto closes
      Candle(p, 6, 8, 20, 11, 17, kRise);
      Candle(p, 17, 3, 14, 5, 11, kFall);
      p.setPen(QPen(kFall, 2));
      p.drawLine(6, 17, 17, 5);
      break;
    }
    case 296:
      Letter(p, QStringLiteral("企"), QColor(20, 110, 40), 16);
      break;
    case 297:
      Letter(p, QStringLiteral("単"), QColor(150, 80, 0), 16);
      break;
    case 298:
      Letter(p, QStringLiteral("連"), QColor(150, 80, 0), 16);
      break;
    case 299:
      Letter(p, QStringLiteral("掲"), QColor(110, 40, 140), 16);
      break;
    case 300:
      Letter(p, QStringLiteral("HP"), kFall, 11);
      break;
    default:
      p.setPen(kInk);
      p.drawRect(2, 2, 19, 19);
      break;
  }
  return pm;
}

QPixmap ChartTabImage(int tab) {
  QPixmap pm = Blank(16);
  QPainter p(&pm);
  p.setPen(QPen(kInk, 1));
  switch (tab) {
    case 0:
      p.drawLine(4, 2, 4, 14);
      p.fillRect(2, 5, 5, 6, kRise);
      p.drawLine(11, 1, 11, 12);
      p.fillRect(9, 3, 5, 6, kFall);
      break;
    case 1:
      p.setPen(QPen(kRise, 2));
      p.drawLine(1, 14, 6, 8);
      p.drawLine(6, 8, 14, 3);
      break;
    case 2:
      p.setPen(QPen(kRise, 1));
      p.drawLine(1, 12, 14, 3);
      p.setPen(QPen(kFall, 1));
      p.drawLine(1, 5, 14, 12);
      break;
    default:
      p.drawRect(1, 1, 13, 13);
      for (int y = 4; y < 14; y += 3) p.drawLine(1, y, 14, y);
      p.drawLine(6, 1, 6, 14);
      break;
  }
  return pm;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) {
    QPixmap pm(size, size);
    pm.fill(QColor(0, 30, 0));
    QPainter p(&pm);
    const double k = size / 16.0;
    p.scale(k, k);
    p.setPen(QPen(QColor(204, 204, 204), 1));
    p.drawLine(4, 3, 4, 13);
    p.fillRect(3, 5, 3, 5, QColor(204, 204, 204));
    p.setPen(QPen(QColor(255, 0, 0), 1));
    p.drawLine(11, 2, 11, 12);
    p.fillRect(10, 4, 3, 6, QColor(255, 0, 0));
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

}  // namespace sorano
