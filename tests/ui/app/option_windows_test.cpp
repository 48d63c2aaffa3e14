// The windows of the option and help menus, driven through the main window's commands: the settings
// sheet, the About box and the intraday chart window against an in-process feed.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "core/app/commands.h"
#include "feed_window_test.h"
#include "ui/app/about_box.h"
#include "ui/intraday/intraday_window.h"
#include "ui/settings/settings_dialog.h"

namespace sorano {
namespace {

// Calls act once a modal widget of type W is up (a modal dialog's own event loop runs the polling).
template <typename W>
void WhenModal(std::function<void(W*)> act) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
      poll->stop();
      poll->deleteLater();
      act(w);
    }
  });
  poll->start(10);
}

using OptionWindowsTest = test::FeedWindowTest;

TEST_F(OptionWindowsTest, SettingsSheetHasEightPagesRefusesALongFolderStoresOnOkAndAsksForARestart) {
  QStringList captions;
  QString refusal, restart;
  WhenModal<SettingsDialog>([&](SettingsDialog* d) {
    for (int i = 0; i < d->tabs()->count(); ++i) captions << d->tabs()->tabText(i);
    d->field(SettingsSheet::FieldIndex("para_shi_sma01"))->setText("0");
    d->box(1)->setChecked(false);  // "ローソク内を塗り潰す(&B)" off: hollow candles
    QLineEdit* folder = d->field(SettingsSheet::FieldIndex("check_path"));
    const QString before = folder->text();
    folder->setText("/" + QString(1100, 'a'));
    WhenModal<QMessageBox>([&, d, folder, before](QMessageBox* box) {
      refusal = box->text();
      box->accept();
      // The sheet stayed open on the page of the folder.
      EXPECT_EQ(d->tabs()->currentIndex(), sheet_page::kOther);
      folder->setText(before);
      WhenModal<QMessageBox>([&](QMessageBox* box2) {
        restart = box2->text();
        box2->accept();
      });
      d->okButton()->click();
    });
    d->okButton()->click();
  });
  window->RunCommand(cmd::kSettingsDialog);

  EXPECT_EQ(captions, (QStringList{"一覧", "チャート", "指数・色", "指数・値", "テクニカル・色",
                                   "テクニカル・値", "接続", "その他"}));
  EXPECT_TRUE(refusal.contains(QStringLiteral("長すぎます"))) << refusal.toStdString();
  EXPECT_EQ(restart, QStringLiteral("環境設定を反映させるために\n　　　Soranoの再起動をお願いいたします。"));
  EXPECT_EQ(ws->settings.para_shi_sma01, 1);
  EXPECT_EQ(ws->settings.check_roubh, 1);
  EXPECT_EQ(ws->settings.check_path[0], '\0');  // the folder left as it was
}

TEST_F(OptionWindowsTest, ColourChooserStartsAtTheColourAndCancelKeepsTheStore) {
  int32_t shown = -1;
  QColor custom0, custom1;
  WhenModal<SettingsDialog>([&](SettingsDialog* d) {
    d->tabs()->setCurrentIndex(sheet_page::kChart);
    WhenModal<QColorDialog>([&, d](QColorDialog* chooser) {
      custom0 = QColorDialog::customColor(0);
      custom1 = QColorDialog::customColor(1);
      chooser->setCurrentColor(QColor(0x10, 0x20, 0x30));
      chooser->accept();
      QTimer::singleShot(0, [&, d] {
        shown = d->colourButton(1, 0)->colour();
        d->reject();
      });
    });
    d->colourButton(1, 0)->click();  // color_chart00, the chart background
  });
  window->RunCommand(cmd::kSettingsDialog);

  EXPECT_EQ(custom0, QColor(0x00, 0x1E, 0x00));  // the element's colour 0x001E00
  EXPECT_EQ(custom1, QColor(Qt::white));
  EXPECT_EQ(shown, 0x302010);                        // the button shows the chosen colour, 0x00BBGGRR
  EXPECT_EQ(ws->settings.color_chart[0], 0x001E00);  // Cancel: the chosen colour never reached the store
}

TEST_F(OptionWindowsTest, OkPaintsTheTreeAndTheListInTheNewListColours) {
  WhenModal<SettingsDialog>([&](SettingsDialog* d) {
    WhenModal<QColorDialog>([&, d](QColorDialog* chooser) {
      chooser->setCurrentColor(QColor(0x10, 0x20, 0x30));
      chooser->accept();
      QTimer::singleShot(0, [d] {
        WhenModal<QMessageBox>([](QMessageBox* restart) { restart->accept(); });
        d->okButton()->click();
      });
    });
    d->colourButton(0, 0)->click();  // color_list00, the background of the list and the tree
  });
  window->RunCommand(cmd::kSettingsDialog);

  ASSERT_EQ(ws->settings.color_list[0], 0x302010);
  for (const char* pane : {"treePane", "brandList"}) {
    auto* view = window->findChild<QAbstractItemView*>(pane);
    ASSERT_NE(view, nullptr) << pane;
    EXPECT_EQ(view->palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30)) << pane;
    EXPECT_EQ(view->palette().color(QPalette::Text), QColor(0x00, 0x1E, 0x00)) << pane;  // color_list02
  }
}

TEST_F(OptionWindowsTest, AboutBoxIsCentredWithoutTitleBarAndAnyButtonClosesIt) {
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
    QPoint at;
    bool frameless = false;
    QStringList texts;
    WhenModal<AboutBox>([&, button](AboutBox* box) {
      at = box->pos();
      frameless = box->windowFlags().testFlag(Qt::FramelessWindowHint);
      for (QLabel* l : box->findChildren<QLabel*>()) texts << l->text();
      QMouseEvent press(QEvent::MouseButtonPress, QPointF(200, 200), QPointF(200, 200), button, button,
                        Qt::NoModifier);
      QApplication::sendEvent(box, &press);
    });
    window->RunCommand(cmd::kAbout);  // returns once the box has closed
    const QRect desktop = window->screen()->geometry();
    EXPECT_EQ(at, QPoint(desktop.x() + (desktop.width() - AboutBox::kWidth) / 2,
                         desktop.y() + (desktop.height() - AboutBox::kHeight) / 2));
    EXPECT_TRUE(frameless);
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_EQ(texts.first(), QStringLiteral("Sorano 2.04"));
    // Qt and libcanberra are loaded here: their lines carry versions.
    EXPECT_TRUE(texts.filter(QRegularExpression("^libQt6Core\\.so Version 6\\.\\d+\\.\\d+$")).size() == 1)
        << texts.join('|').toStdString();
  }
}

TEST_F(OptionWindowsTest, IntradayWindowShowsTheFeedsImageOnceAndFetchesOnceAfterAResize) {
  window->RunCommand(cmd::kIntraday);
  IntradayWindow* intraday = window->intradayWindow();
  ASSERT_NE(intraday, nullptr);
  EXPECT_EQ(intraday->windowTitle(), QStringLiteral("日中チャート ５分おきに更新します"));
  EXPECT_TRUE(window->Action(cmd::kIntraday)->isChecked());
  QSignalSpy shown(intraday, &IntradayWindow::ImageShown);
  ASSERT_TRUE(shown.wait(5000));
  EXPECT_EQ(intraday->image().size(), QSize(160, 80));
  EXPECT_TRUE(std::filesystem::exists(dir.path() + "data/tmp.html"));

  window->RunCommand(cmd::kIntraday);  // brings the same window forward
  EXPECT_EQ(window->intradayWindow(), intraday);
  EXPECT_EQ(window->findChildren<IntradayWindow*>().size(), 1);

  // Dragging an edge: the image is rescaled meanwhile, and fetched once when the size has settled.
  feed_->ClearRequests();
  for (int i = 0; i < 20; ++i) {
    intraday->resize(300 + 10 * i, 220);
    QApplication::processEvents();
  }
  ASSERT_TRUE(shown.wait(5000));
  QTest::qWait(IntradayWindow::kSettleMs + 100);
  EXPECT_EQ(feed_->Requests().size(), 1u);

  intraday->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->intradayWindow(), nullptr);
  EXPECT_FALSE(ws->intradayWindowOpen);
  EXPECT_FALSE(window->Action(cmd::kIntraday)->isChecked());
}

}  // namespace
}  // namespace sorano
