#pragma once
// What the intraday command needs from the desktop layer: the one modeless intraday chart window.
namespace sorano {

class IntradayView {
 public:
  virtual ~IntradayView() = default;
  // Opens the window for the shown brand, or brings the open one to the front. The window keeps
  // Workspace::intradayWindowOpen in step with its life.
  virtual void OpenIntradayWindow() = 0;
};

}  // namespace sorano
