#pragma once
// The list pane's rows as a table model: every cell text, image, alignment and colour is asked of core
// for the cells the view paints (the visible ones), never computed ahead.
#include <QAbstractTableModel>
#include <QPixmap>
#include <array>

#include "core/app/workspace.h"

namespace sorano {

class ListTableModel : public QAbstractTableModel {
 public:
  ListTableModel(Workspace& ws, QObject* parent);

  // The rows or the column set changed.
  void Reset();
  ColumnSet columns() const { return set_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  // The row image of a state, drawn again when the rising or falling colour has changed.
  const QPixmap& RowImageOf(int state) const;

  Workspace& ws_;
  ColumnSet set_ = ColumnSet::kPrice;
  mutable std::array<QPixmap, 3> images_;
  mutable std::array<int32_t, 2> imageColours_{-1, -1};  // color_list03 and 04 they were drawn in
};

}  // namespace sorano
