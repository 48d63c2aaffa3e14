#pragma once
// What the settings command needs from the desktop layer: the modal sheet "環境設定".
#include "core/settings/settings_sheet.h"

namespace sorano {

class SettingsSheetView {
 public:
  virtual ~SettingsSheetView() = default;
  // Runs the sheet modally on sheet, whose texts, boxes and colours the pages edit. True when it was
  // closed with OK; by then sheet.Check() found nothing. False after Cancel.
  virtual bool RunSettingsSheet(SettingsSheet& sheet) = 0;
};

}  // namespace sorano
