// The tree and list panes in the main window, offscreen: a click on a tree node fills the list, a click
// on a row shows that brand in the charts, a header click sorts, a folder is renamed in place, and the
// memo editor keeps to what the file can hold.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <cstring>
#include <memory>

#include "core/memo/memo_file.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "support/temp_dir.h"
#include "ui/app/main_window.h"
#include "ui/chart/chart_pane.h"
#include "ui/lists/list_pane.h"
#include "ui/lists/lists_controller.h"
#include "ui/lists/tree_pane.h"

namespace sorano {
namespace {

class ListsPaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::strncpy(ws->settings.runtime.data_path, dir.path().c_str(),
                 sizeof ws->settings.runtime.data_path - 1);
    for (int32_t code : {1301, 6758, 7203}) {
      BrandRecord& r = ws->brands[static_cast<size_t>(code)];
      r.price = code;  // sorts like the code
      r.market = 1;
      SetField(r.name, Utf8ToSjis("銘柄" + std::to_string(code)));
    }
    ws->settings.check_code = 7203;
    ws->settings.check_tree_hItem = NodeKey(NodeId{tree_root::kMarkets, -1});
    test::WriteBytes(dir / "data/mybrand.dat", Utf8ToSjis("株,0,7203,6758\r\n"));
    window = std::make_unique<MainWindow>(*ws, nullptr, "");
    window->resize(1100, 760);
    window->show();
    QApplication::processEvents();
    tree = window->lists()->tree();
    list = window->lists()->list();
  }
  void Click(QAbstractItemView* view, const QModelIndex& index) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    QApplication::processEvents();
  }
  std::vector<int32_t> Codes() const { return ws->list.Codes(); }

  test::TempDir dir;
  std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
  std::unique_ptr<MainWindow> window;
  TreePane* tree = nullptr;
  ListPane* list = nullptr;
};

TEST_F(ListsPaneTest, AStartThatPaintsNoChartStillFillsTheList) {
  window.reset();
  ws->list.Clear();
  ws->settings.check_bview = 3;  // the time-series table instead of the charts
  window = std::make_unique<MainWindow>(*ws, nullptr, "");
  window->show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->lists()->list()->model()->rowCount() == 3; }, 3000));
  EXPECT_FALSE(window->chartPane()->isVisible());
}

TEST_F(ListsPaneTest, TreeClickFillsTheListAndRowClickShowsTheBrand) {
  // The remembered root lists the index brands once the first chart frame is on the screen.
  EXPECT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() == 3; }));
  tree->expandAll();
  Click(tree, tree->IndexOf(NodeId{tree_root::kCodes, 0}));
  EXPECT_EQ(Codes(), (std::vector<int32_t>{1301, 6758, 7203}));
  EXPECT_EQ(list->model()->rowCount(), 3);
  EXPECT_EQ(list->model()->index(1, 1).data().toString(), QStringLiteral("銘柄6758"));
  EXPECT_EQ(ws->settings.check_tree_hItem, NodeKey(NodeId{tree_root::kCodes, 0}));

  // The row's brand is shown once the event queue is empty.
  Click(list->table(), list->model()->index(0, 1));
  EXPECT_TRUE(QTest::qWaitFor([&] { return ws->code() == 1301; }));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("1301 銘柄1301 (東証1部) - Sorano 2.04"));
  // An arrow key moves on and the chart follows.
  QTest::keyClick(list->table(), Qt::Key_Down);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ws->code() == 6758; }));

  // A header click sorts (twice: descending), keeping the selected brand selected.
  QTest::mouseClick(list->table()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                    QPoint(list->table()->horizontalHeader()->sectionViewportPosition(3) + 5, 5));
  QTest::mouseClick(list->table()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                    QPoint(list->table()->horizontalHeader()->sectionViewportPosition(3) + 5, 5));
  EXPECT_EQ(Codes(), (std::vector<int32_t>{7203, 6758, 1301}));
  EXPECT_EQ(list->SelectedRows(), (std::vector<int>{1}));
  // A column resized by the user is stored.
  list->table()->horizontalHeader()->resizeSection(2, 123);
  EXPECT_EQ(ws->settings.list_kabu_size[2], 123);
}

TEST_F(ListsPaneTest, RowArrowsTakeTheColoursOfTheirRowsFigures) {
  ws->settings.color_list[3] = 0xA00000;  // rising: blue
  ws->settings.color_list[4] = 0x6464FF;  // falling: light red
  ws->brands[6758].change = 12;
  ws->brands[7203].change = -3;
  tree->expandAll();
  Click(tree, tree->IndexOf(NodeId{tree_root::kCodes, 0}));
  ASSERT_EQ(Codes(), (std::vector<int32_t>{1301, 6758, 7203}));
  auto arrow = [&](int row) {
    return list->model()->index(row, 0).data(Qt::DecorationRole).value<QPixmap>().toImage().pixelColor(8, 8);
  };
  auto figure = [&](int row) {
    return list->model()->index(row, 6).data(Qt::ForegroundRole).value<QColor>();
  };
  EXPECT_EQ(arrow(1), QColor(0, 0, 0xA0));
  EXPECT_EQ(arrow(1), figure(1));
  EXPECT_EQ(arrow(2), QColor(0xFF, 0x64, 0x64));
  EXPECT_EQ(arrow(2), figure(2));
  // New colours from the settings sheet reach the arrows too.
  ws->settings.color_list[3] = 0x00C000;
  EXPECT_EQ(arrow(1), QColor(0, 0xC0, 0));
}

TEST_F(ListsPaneTest, AListFilledAgainStaysWhereItWasScrolled) {
  for (int32_t code = 2000; code < 2100; ++code) ws->brands[static_cast<size_t>(code)].price = 100;
  tree->expandAll();
  Click(tree, tree->IndexOf(NodeId{tree_root::kCodes, 0}));
  QScrollBar* bar = list->table()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 20);
  bar->setValue(20);
  list->ShowList(ListChange::kSameSource);  // e.g. every brand's quote downloaded
  EXPECT_EQ(bar->value(), 20);
  list->ShowList(ListChange::kNewRows);
  EXPECT_EQ(bar->value(), 0);
}

TEST_F(ListsPaneTest, AFolderIsRenamedInPlace) {
  const NodeId folder{tree_root::kFavourites, 0};
  tree->expandAll();
  Click(tree, tree->IndexOf(folder));
  EXPECT_EQ(Codes(), (std::vector<int32_t>{7203, 6758}));
  tree->EditFolder(folder);
  QApplication::processEvents();
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  editor->insert(QStringLiteral("自動車,電機"));
  QTest::keyClick(editor, Qt::Key_Return);
  // The edit ends, and then the tree shows the folders again, on later turns of the event loop.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return tree->IndexOf(folder).data().toString() == QStringLiteral("自動車，電機"); }));
  EXPECT_EQ(test::ReadBytes(dir / "data/mybrand.dat"), Utf8ToSjis("自動車，電機,0,7203,6758\r\n"));
  // Category nodes cannot be edited.
  EXPECT_FALSE(tree->IndexOf(NodeId{tree_root::kMarkets, 0}).flags() & Qt::ItemIsEditable);
}

TEST_F(ListsPaneTest, TheMemoEditorHoldsWhatTheFileCanHold) {
  window->RunCommand(32950);  // the memo page
  QPlainTextEdit* memo = list->memo();
  ASSERT_TRUE(memo->isVisible());
  EXPECT_FALSE(list->table()->isVisible());
  memo->setFocus();
  QTest::keyClicks(memo, "a");
  memo->insertPlainText(QStringLiteral("😀b"));
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("a?b"));
  EXPECT_EQ(ws->memo.text(), "a?b");
  memo->insertPlainText(QString(40000, QLatin1Char('x')));
  EXPECT_EQ(MemoFileBytes(memo->toPlainText().toStdString()).size(), kMemoCapacity);
  EXPECT_TRUE(ws->memo.edited());
  // The memo window shows the same memo, once however often it is asked for.
  window->RunCommand(33022);
  window->RunCommand(33022);
  QApplication::processEvents();
  EXPECT_EQ(window->findChildren<QDialog*>("memoWindow").size(), 1);
  EXPECT_TRUE(window->Action(33022)->isChecked());
}

}  // namespace
}  // namespace sorano
