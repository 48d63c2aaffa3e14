#pragma once
// Where a pane picture lands on the printed page.
#include <optional>

namespace sorano {

struct PrintRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PrintRect&) const = default;
};

// The picture is stretched onto the top-left corner of the page over the full page width and
// imageHeight * k device pixels, k = pageWidth / imageWidth in whole numbers but at least 1 (a
// picture wider than the page is squeezed to the page width at its own height, never scaled to
// nothing). nullopt for an empty picture or page: there is nothing to print.
std::optional<PrintRect> PrintPlacement(int pageWidth, int imageWidth, int imageHeight);

}  // namespace sorano
