#pragma once
// The tree's and the list pane's 16 x 16 images, drawn with QPainter when the panes are made.
#include <QPixmap>

namespace sorano {

// The tree's image list: 0/1 favourites, 2/3 other nodes, 4/5 account, 6/7 trade history (odd: the
// selected look).
QPixmap TreeImage(int index);
// The list pane's tabs 0..3: price, capital, performance, memo.
QPixmap ListTabImage(int tab);
// Row states: 0 rising, 1 unchanged, 2 falling. The arrows take the colours of the rising and
// falling figures beside them, so that an arrow never contradicts its row's numbers.
QPixmap RowStateImage(int state, const QColor& rise, const QColor& fall);

}  // namespace sorano
