#include "ui/lists/list_table_model.h"

#include "core/app/lists_area.h"
#include "ui/lists/list_icons.h"
#include "ui/lists/pane_style.h"

namespace sorano {

ListTableModel::ListTableModel(Workspace& ws, QObject* parent) : QAbstractTableModel(parent), ws_(ws) {
  set_ = ShownColumns(ws_);
}

const QPixmap& ListTableModel::RowImageOf(int state) const {
  const std::array<int32_t, 2> colours = {ws_.settings.color_list[3], ws_.settings.color_list[4]};
  if (colours != imageColours_) {
    imageColours_ = colours;
    for (int i = 0; i < 3; ++i)
      images_[static_cast<size_t>(i)] = RowStateImage(i, ColourOf(static_cast<uint32_t>(colours[0])),
                                                      ColourOf(static_cast<uint32_t>(colours[1])));
  }
  return images_[static_cast<size_t>(state)];
}

void ListTableModel::Reset() {
  beginResetModel();
  set_ = ShownColumns(ws_);
  endResetModel();
}

int ListTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(ws_.list.rows().size());
}

int ListTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(ColumnTitles(set_).size());
}

QVariant ListTableModel::data(const QModelIndex& index, int role) const {
  const auto rows = ws_.list.rows();
  if (!index.isValid() || static_cast<size_t>(index.row()) >= rows.size()) return {};
  const ListRow& row = rows[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(CellText(set_, row, index.column()));
    case Qt::DecorationRole:
      if (index.column() == 0) return RowImageOf(RowImage(set_, row));
      break;
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(
          Qt::AlignVCenter | (index.column() < LeftAlignedColumns(set_) ? Qt::AlignLeft : Qt::AlignRight));
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
      const CellColours c = CellColoursOf(set_, row, index.row(), index.column(), ws_.settings);
      return ColourOf(role == Qt::ForegroundRole ? c.text : c.background);
    }
  }
  return {};
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const auto titles = ColumnTitles(set_);
  if (orientation != Qt::Horizontal || section < 0 || static_cast<size_t>(section) >= titles.size())
    return {};
  if (role == Qt::DisplayRole)
    return QString::fromUtf8(titles[static_cast<size_t>(section)].data(),
                             static_cast<qsizetype>(titles[static_cast<size_t>(section)].size()));
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::AlignVCenter |
                               (section < LeftAlignedColumns(set_) ? Qt::AlignLeft : Qt::AlignRight));
  return {};
}

}  // namespace sorano
