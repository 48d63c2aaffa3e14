#pragma once
// The program's own pictures, drawn with QPainter when the window is made: the 24 x 24 toolbar
// images (by the bitmap number the toolbar table gives each button), the 16 x 16 chart-tab images and
// the window and tray icon.
#include <QIcon>
#include <QPixmap>

namespace sorano {

// A 24 x 24 toolbar image; a plain frame for a number without a picture of its own.
QPixmap ToolbarImage(int bitmap);
// The 16 x 16 image of chart tab 0..3 (standard, percentage, comparison, time series).
QPixmap ChartTabImage(int tab);
// The window and notification-area icon.
QIcon ProgramIcon();

}  // namespace sorano
