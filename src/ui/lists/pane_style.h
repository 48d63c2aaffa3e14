#pragma once
// The look the tree and list panes share: the pane font and the list colours of the settings.
#include <QColor>
#include <QFont>
#include <QWidget>
#include <cstdint>

#include "core/settings/settings_store.h"

namespace sorano {

// check_font_name (a Windows face, mapped to an installed family) at check_font_size / divisor pixels.
QFont PaneFont(const SettingsStore& s, double divisor);
// A colour 0x00BBGGRR.
QColor ColourOf(uint32_t bbggrr);
// color_list00 as the background, color_list02 as the text.
void ApplyListColours(QWidget* w, const SettingsStore& s);

}  // namespace sorano
