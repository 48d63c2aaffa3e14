// The account, the history and the search band in the main window, offscreen: a purchase and the sale of
// part of it through the dialogs end as a history row with the profit of the shares sold, and the
// band's "検索" lists the brands whose name holds the name box's text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <memory>

#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "support/temp_dir.h"
#include "ui/app/main_window.h"
#include "ui/lists/list_pane.h"
#include "ui/lists/lists_controller.h"
#include "ui/lists/tree_pane.h"
#include "ui/portfolio/portfolio_dialogs.h"
#include "ui/search/search_band.h"

namespace sorano {
namespace {

class PortfolioSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::strncpy(ws->settings.runtime.data_path, dir.path().c_str(),
                 sizeof ws->settings.runtime.data_path - 1);
    const struct {
      int32_t code, price;
      const char* name;
    } brands[] = {{1301, 300, "極洋"}, {6758, 600, "ソニー電子"}, {9501, 700, "東京電力"}};
    for (const auto& b : brands) {
      BrandRecord& r = ws->brands[static_cast<size_t>(b.code)];
      r.price = b.price;
      r.market = 1;
      SetField(r.name, Utf8ToSjis(b.name));
    }
    test::WriteBytes(dir / "data/mybrand.dat", "");
    window = std::make_unique<MainWindow>(*ws, nullptr, "");
    window->resize(1100, 760);
    window->show();
    QApplication::processEvents();
    tree = window->lists()->tree();
    list = window->lists()->list();
  }

  void Open(int32_t root) {
    const QModelIndex index = tree->IndexOf(NodeId{root, -1});
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    QApplication::processEvents();
  }

  // Runs command id; once its dialog is up, the boxes whose index is given get their text and OK is
  // pressed. The dialog's title and boxes as shown are returned, then the text of any message box (which
  // is closed); a dialog still open after OK is cancelled.
  QStringList RunDialog(int id, std::vector<std::pair<int, QString>> edits) {
    QStringList seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen << box->text();
        box->reject();
      } else if (auto* dialog = dynamic_cast<FormDialog*>(modal); dialog && seen.isEmpty()) {
        seen << dialog->windowTitle();
        for (QLineEdit* box : dialog->boxes()) seen << box->text();
        for (const auto& [box, text] : edits) dialog->boxes()[static_cast<size_t>(box)]->setText(text);
        dialog->accept();
      } else if (dialog) {
        dialog->reject();
      }
    });
    poll.start(10);
    window->RunCommand(id);
    QApplication::processEvents();
    return seen;
  }

  QString Cell(int row, int column) const { return list->model()->index(row, column).data().toString(); }

  test::TempDir dir;
  std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
  std::unique_ptr<MainWindow> window;
  TreePane* tree = nullptr;
  ListPane* list = nullptr;
};

TEST_F(PortfolioSearchTest, BuyThenSellPartShowsTheProfitOfTheSharesSold) {
  Open(tree_root::kAccount);  // no files yet: an empty account, no message box
  EXPECT_EQ(list->model()->rowCount(), 0);

  const QStringList buy =
      RunDialog(32990, {{0, "6758"}, {1, "2003"}, {2, "4"}, {3, "1"}, {4, "500"}, {5, "1000"}});
  ASSERT_FALSE(buy.isEmpty());
  EXPECT_EQ(buy[0], QStringLiteral("口座買付"));
  EXPECT_EQ(test::ReadBytes(dir / "data/myproperty.dat"), "6758,2003,4,1,1000,500\r\n");
  ASSERT_EQ(list->model()->rowCount(), 1);
  EXPECT_EQ(Cell(0, 1), QStringLiteral("ソニー電子"));
  EXPECT_EQ(Cell(0, 6), QStringLiteral("100000"));  // (600 - 500) × 1000

  // Sell 400 of the 1000 at 600 on 2003/11/04 with a fee of 1050 and a tax of 20 %.
  list->table()->selectRow(0);
  const QStringList sell =
      RunDialog(33003, {{1, "2003"}, {2, "11"}, {3, "4"}, {4, "600"}, {5, "400"}, {6, "1050"}, {7, "20"}});
  ASSERT_GE(sell.size(), 2);
  EXPECT_EQ(sell[0], QStringLiteral("口座売付"));
  EXPECT_EQ(sell[1], QStringLiteral("6758"));
  EXPECT_EQ(test::ReadBytes(dir / "data/myproperty.dat"), "6758,2003,4,1,600,500\r\n");
  EXPECT_EQ(test::ReadBytes(dir / "data/myhistory.dat"),
            "6758,2003,4,1,1000,500,2003,11,4,400,600,1050,20\r\n");

  Open(tree_root::kHistory);
  ASSERT_EQ(list->model()->rowCount(), 1);
  EXPECT_EQ(Cell(0, 4), QStringLiteral("200000円"));  // 400 × 500
  EXPECT_EQ(Cell(0, 5), QStringLiteral("240000円"));
  EXPECT_EQ(Cell(0, 6), QStringLiteral("40000円"));
  EXPECT_EQ(Cell(0, 9), QStringLiteral("8000円"));
}

TEST_F(PortfolioSearchTest, TheSearchButtonListsTheNamesThatHoldTheText) {
  SearchBand* band = window->searchBand();
  band->nameBox()->setText(QStringLiteral("電"));
  QTest::mouseClick(band->searchButton(), Qt::LeftButton);
  EXPECT_EQ(ws->list.Codes(), (std::vector<int32_t>{6758, 9501}));
  EXPECT_EQ(list->model()->rowCount(), 2);
  // The tree highlights no node now; a click on the one it showed before lists its brands again.
  EXPECT_FALSE(tree->currentIndex().isValid());
  EXPECT_FALSE(tree->selectionModel()->hasSelection());
  const QModelIndex all = tree->IndexOf(kDefaultNode);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(all).center());
  EXPECT_EQ(list->model()->rowCount(), 3);
  EXPECT_EQ(tree->currentIndex(), all);
  band->nameBox()->setText(QStringLiteral("d"));
  QTest::mouseClick(band->searchButton(), Qt::LeftButton);
  EXPECT_EQ(list->model()->rowCount(), 0);
}

// The code box names the shown brand from the start and after every change of brand; a click into it
// selects the code, so typing replaces it (digits only).
TEST_F(PortfolioSearchTest, TheCodeBoxShowsTheShownBrand) {
  QLineEdit* box = window->searchBand()->codeBox();
  EXPECT_EQ(box->text(), QStringLiteral("7004"));
  ASSERT_TRUE(window->RunCommand(33021));  // the next brand in use
  EXPECT_EQ(ws->code(), 9501);
  EXPECT_EQ(box->text(), QStringLiteral("9501"));

  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::mouseClick(box, Qt::LeftButton);
  QApplication::processEvents();
  QTest::keyClicks(box, "13a01");
  EXPECT_EQ(box->text(), QStringLiteral("1301"));
  EXPECT_EQ(ws->code(), 1301);
}

}  // namespace
}  // namespace sorano
