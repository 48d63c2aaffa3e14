#pragma once
// The pictures the capture commands take of the chart and technical panes.
#include "core/gfx/rgb_image.h"

namespace sorano {

// Both panes as one picture: as wide as the chart pane's and as high as both, the chart on top and the
// technical pane directly below it (cut to the chart's width, or white where it is narrower). Empty
// when the chart picture is empty; the chart alone when the technical picture is.
RgbImage StackImages(const RgbImage& chart, const RgbImage& technical);

}  // namespace sorano
