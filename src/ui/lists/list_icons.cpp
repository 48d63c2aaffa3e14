#include "ui/lists/list_icons.h"

#include <QPainter>
#include <QPolygon>

namespace sorano {
namespace {

const QColor kInk(40, 40, 40);
const QColor kRed(200, 40, 40);
const QColor kBlue(30, 90, 190);

QPixmap Blank() {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  return pm;
}

void Folder(QPainter& p, const QColor& fill, bool open) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(fill);
  p.drawPolygon(
      QPolygon({QPoint(1, 4), QPoint(6, 4), QPoint(7, 5), QPoint(14, 5), QPoint(14, 13), QPoint(1, 13)}));
  if (open) p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
}

}  // namespace

QPixmap TreeImage(int index) {
  QPixmap pm = Blank();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, false);
  const bool selected = index % 2 == 1;
  switch (index / 2) {
    case 0: {  // favourites: a star
      p.setPen(QPen(QColor(150, 110, 0), 1));
      p.setBrush(selected ? QColor(255, 200, 40) : QColor(250, 225, 120));
      p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(10, 6), QPoint(15, 6), QPoint(11, 9), QPoint(13, 15),
                              QPoint(8, 11), QPoint(3, 15), QPoint(5, 9), QPoint(1, 6), QPoint(6, 6)}));
      break;
    }
    case 2:  // account: a coin
      p.setPen(QPen(kInk, 1));
      p.setBrush(selected ? QColor(240, 190, 60) : QColor(230, 210, 140));
      p.drawEllipse(2, 2, 11, 11);
      p.drawText(QRect(2, 2, 12, 12), Qt::AlignCenter, QStringLiteral("¥"));
      break;
    case 3:  // trade history: a ledger
      p.setPen(QPen(kInk, 1));
      p.setBrush(selected ? QColor(200, 225, 255) : Qt::white);
      p.drawRect(3, 1, 10, 13);
      for (int y = 4; y < 13; y += 3) p.drawLine(5, y, 11, y);
      break;
    default:  // every other node: a folder
      Folder(p, selected ? QColor(255, 215, 110) : QColor(240, 220, 150), selected);
      break;
  }
  return pm;
}

QPixmap ListTabImage(int tab) {
  QPixmap pm = Blank();
  QPainter p(&pm);
  p.setPen(QPen(kInk, 1));
  switch (tab) {
    case 0:  // prices: a rising line
      p.setPen(QPen(kRed, 2));
      p.drawPolyline(QPolygon({QPoint(1, 13), QPoint(5, 8), QPoint(9, 10), QPoint(14, 3)}));
      break;
    case 1:  // capital: stacked coins
      p.setBrush(QColor(230, 210, 140));
      for (int y = 11; y >= 3; y -= 4) p.drawEllipse(3, y, 10, 3);
      break;
    case 2:  // performance: bars
      p.setBrush(kBlue);
      p.drawRect(2, 9, 3, 5);
      p.drawRect(7, 6, 3, 8);
      p.drawRect(12, 2, 2, 12);
      break;
    default:  // memo: a note
      p.setBrush(QColor(255, 250, 200));
      p.drawRect(2, 1, 11, 14);
      for (int y = 4; y < 14; y += 3) p.drawLine(4, y, 11, y);
      break;
  }
  return pm;
}

QPixmap RowStateImage(int state, const QColor& rise, const QColor& fall) {
  QPixmap pm = Blank();
  QPainter p(&pm);
  p.setPen(Qt::NoPen);
  if (state == 0) {
    p.setBrush(rise);
    p.drawPolygon(QPolygon({QPoint(8, 2), QPoint(14, 12), QPoint(2, 12)}));
  } else if (state == 2) {
    p.setBrush(fall);
    p.drawPolygon(QPolygon({QPoint(2, 4), QPoint(14, 4), QPoint(8, 14)}));
  } else {
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(3, 7, 10, 3);
  }
  return pm;
}

}  // namespace sorano
