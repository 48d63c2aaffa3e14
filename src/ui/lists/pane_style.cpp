#include "ui/lists/pane_style.h"

#include <QPalette>
#include <algorithm>
#include <cstring>

#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {

QFont PaneFont(const SettingsStore& s, double divisor) {
  QFont font(QtCanvas::MapFace(QString::fromStdString(SjisToUtf8(FieldText(s.check_font_name)))));
  font.setPixelSize(std::max(6, static_cast<int>(s.check_font_size / divisor)));
  return font;
}

QColor ColourOf(uint32_t c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

void ApplyListColours(QWidget* w, const SettingsStore& s) {
  QPalette p = w->palette();
  p.setColor(QPalette::Base, ColourOf(static_cast<uint32_t>(s.color_list[0])));
  p.setColor(QPalette::Text, ColourOf(static_cast<uint32_t>(s.color_list[2])));
  w->setPalette(p);
}

}  // namespace sorano
