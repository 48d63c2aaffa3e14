// The main window built offscreen: its menus, toolbar and bands against the command table, the
// splitters' drag and release, and the chart panes on a series.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <cstring>
#include <memory>

#include "core/app/command_handler.h"
#include "core/app/commands.h"
#include "core/settings/memory_registry.h"
#include "support/fake_prompt.h"
#include "support/temp_dir.h"
#include "ui/app/main_window.h"
#include "ui/app/qt_prompt.h"
#include "ui/app/splitter_bar.h"
#include "ui/chart/chart_pane.h"
#include "ui/net/download_dialogs.h"
#include "ui/technical/technical_pane_widget.h"

namespace sorano {
namespace {

QString U(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws = std::make_unique<Workspace>();
    std::strncpy(ws->settings.runtime.data_path, dir.path().c_str(),
                 sizeof ws->settings.runtime.data_path - 1);
    test::WriteBytes(dir / "data/mybrand.dat", "");  // no folders: nothing to report
    window = std::make_unique<MainWindow>(*ws, nullptr, "");
  }
  void Show(int width = 1000, int height = 720) {
    window->resize(width, height);
    window->show();
    QApplication::processEvents();
  }
  // A rising and falling daily series of n bars from 2003-01-06 (weekdays only).
  void FillSeries(int n) {
    std::vector<PriceBar> bars;
    int y = 2003, m = 1, d = 6, weekday = 1;
    for (int i = 0; i < n; ++i) {
      const int base = 1000 + (i % 20) * 10;
      const bool rising = i % 3 != 0;
      bars.push_back(PriceBar{y, m, d, rising ? base : base + 8, base + 12, base - 4,
                              rising ? base + 8 : base, 100000 + i, 1.0});
      const int step = weekday == 5 ? 3 : 1;
      weekday = weekday == 5 ? 1 : weekday + 1;
      d += step;
      if (d > 28) {
        d -= 28;
        if (++m > 12) {
          m = 1;
          ++y;
        }
      }
    }
    ws->series.Assign(bars);
  }

  test::TempDir dir;
  std::unique_ptr<Workspace> ws;
  std::unique_ptr<MainWindow> window;
};

// Walks a menu table alongside the menu built from it; every mismatch is a failure naming where.
void ExpectMenuMatches(const QList<QAction*>& actions, std::span<const MenuEntry> entries, size_t& i,
                       const QString& where) {
  int k = 0;
  for (; i < entries.size(); ++i) {
    const MenuEntry& e = entries[i];
    if (e.kind == MenuEntryKind::kEnd) break;
    ASSERT_LT(k, actions.size()) << where.toStdString() << ": fewer items than the table";
    QAction* a = actions[k++];
    const QString here = where + " > " + a->text();
    switch (e.kind) {
      case MenuEntryKind::kSeparator:
        EXPECT_TRUE(a->isSeparator()) << here.toStdString();
        break;
      case MenuEntryKind::kInactive:
        EXPECT_EQ(a->text(), U(e.text));
        EXPECT_FALSE(a->isEnabled()) << here.toStdString();
        break;
      case MenuEntryKind::kCommand: {
        const CommandInfo* c = FindCommand(e.id);
        ASSERT_NE(c, nullptr) << e.id;
        EXPECT_EQ(a->data().toInt(), e.id) << here.toStdString();
        EXPECT_EQ(a->text(), U(e.text.empty() ? c->text : e.text)) << e.id;
        EXPECT_EQ(a->statusTip(), U(c->help)) << e.id;
        break;
      }
      case MenuEntryKind::kPopup: {
        ASSERT_NE(a->menu(), nullptr) << here.toStdString();
        EXPECT_EQ(a->menu()->title(), U(e.text));
        ++i;
        ExpectMenuMatches(a->menu()->actions(), entries, i, here);
        break;
      }
      case MenuEntryKind::kEnd:
        break;
    }
  }
  EXPECT_EQ(k, actions.size()) << where.toStdString() << ": more items than the table";
}

TEST_F(MainWindowTest, MenusCarryTheTableTextsIdsAndHelp) {
  // Menu 202: the menu bar's pop-ups, in order.
  const auto main = MainMenu();
  QList<QAction*> tops = window->menuBar()->actions();
  int top = 0;
  for (size_t i = 0; i < main.size(); ++i) {
    ASSERT_EQ(main[i].kind, MenuEntryKind::kPopup);
    ASSERT_LT(top, tops.size());
    QMenu* menu = tops[top++]->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), U(main[i].text));
    ++i;
    ExpectMenuMatches(menu->actions(), main, i, menu->title());
  }
  EXPECT_EQ(top, tops.size());
  EXPECT_EQ(top, 7);

  // Menu 203: five pop-ups.
  const auto ctx = ContextMenus();
  int index = 0;
  for (size_t i = 0; i < ctx.size(); ++i) {
    ASSERT_EQ(ctx[i].kind, MenuEntryKind::kPopup);
    QMenu* menu = window->ContextMenu(index++);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), U(ctx[i].text));
    ++i;
    ExpectMenuMatches(menu->actions(), ctx, i, menu->title());
  }
  EXPECT_EQ(index, 5);
  EXPECT_EQ(window->ContextMenu(5), nullptr);

  // The window's own menu brings the menu bar back when it is hidden.
  ASSERT_EQ(window->WindowMenu()->actions().size(), 1);
  EXPECT_EQ(window->WindowMenu()->actions()[0]->text(), QStringLiteral("メニューバーの表示(&M)"));
}

TEST_F(MainWindowTest, KeysOfTheAcceleratorTable) {
  EXPECT_EQ(window->Action(cmd::kHelp)->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(window->Action(cmd::kWebBrowser)->shortcut(), QKeySequence(Qt::Key_F8));
  EXPECT_EQ(window->Action(cmd::kKeyLink1)->shortcut(), QKeySequence(Qt::Key_F9));
  EXPECT_EQ(window->Action(cmd::kKeyLink2)->shortcut(), QKeySequence(Qt::Key_F10));
  EXPECT_EQ(window->Action(cmd::kKeyLink3)->shortcut(), QKeySequence(Qt::Key_F11));
  EXPECT_EQ(window->Action(cmd::kExit)->shortcut(), QKeySequence(Qt::Key_F12));
  // Keys work while the menu bar is hidden: the actions belong to the window itself.
  EXPECT_TRUE(window->actions().contains(window->Action(cmd::kExit)));
  EXPECT_TRUE(window->actions().contains(window->Action(cmd::kNextBrand)));
}

TEST_F(MainWindowTest, BandsHoldTheToolbarTheWidthBarAndTheCodeSearch) {
  const QToolBar* toolbar = window->findChild<QToolBar*>("band0");
  ASSERT_NE(toolbar, nullptr);
  const auto buttons = ToolbarButtons();
  ASSERT_EQ(toolbar->actions().size(), static_cast<qsizetype>(buttons.size()));
  EXPECT_EQ(buttons.size(), 21u);
  for (size_t i = 0; i < buttons.size(); ++i) {
    QAction* a = toolbar->actions()[static_cast<qsizetype>(i)];
    if (buttons[i].id == 0) {
      EXPECT_TRUE(a->isSeparator()) << i;
      continue;
    }
    EXPECT_EQ(a->data().toInt(), buttons[i].id);
    EXPECT_EQ(a->toolTip(), U(CommandHelp(buttons[i].id)));
    EXPECT_FALSE(a->icon().pixmap(24, 24).isNull()) << buttons[i].id;
  }
  EXPECT_EQ(toolbar->iconSize(), QSize(24, 24));

  QSlider* slider = window->widthSlider();
  EXPECT_EQ(slider->minimum(), 1);
  EXPECT_EQ(slider->maximum(), 10);
  EXPECT_EQ(slider->value(), ws->settings.check_chsize);
  EXPECT_EQ(slider->toolTip(), QStringLiteral("チャート内の幅設定"));
  slider->setValue(8);
  EXPECT_EQ(ws->settings.check_chsize, 8);
  EXPECT_EQ(ws->window.unit, 8);  // the chart was laid out again with the new width
}

TEST_F(MainWindowTest, FourCharactersInTheCodeBoxShowThatBrand) {
  Show();
  ws->settings.check_code = 7203;
  QLineEdit* box = window->codeBox();
  EXPECT_EQ(box->text(), QStringLiteral("7004"));  // the brand shown at start
  // The focus selects the code shown, so typing replaces it.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  box->setFocus();
  QApplication::processEvents();
  for (QChar c : QStringLiteral("675")) {
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &key);
  }
  EXPECT_EQ(ws->settings.check_code, 7203);  // three characters do nothing yet
  QKeyEvent last(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("8"));
  QApplication::sendEvent(box, &last);
  EXPECT_EQ(ws->settings.check_code, 6758);
  EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("6758")))
      << window->windowTitle().toStdString();
}

TEST_F(MainWindowTest, WeeklyFromTheMenuDisablesItsToolbarButton) {
  Show();
  window->Action(cmd::kWeekly)->trigger();
  EXPECT_EQ(ws->settings.check_ymd, 1);
  EXPECT_TRUE(window->Action(cmd::kWeekly)->isChecked());
  EXPECT_FALSE(window->Action(cmd::kDaily)->isChecked());
  EXPECT_FALSE(window->ToolbarAction(cmd::kWeekly)->isEnabled());
  EXPECT_TRUE(window->ToolbarAction(cmd::kDaily)->isEnabled());
  EXPECT_TRUE(window->ToolbarAction(cmd::kMonthly)->isEnabled());
}

TEST_F(MainWindowTest, ChartTabsFollowTheModeAndTheTabSwitch) {
  Show();
  QTabBar* tabs = window->chartTabs();
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("標準チャート"));
  EXPECT_EQ(tabs->tabText(3), QStringLiteral("時系列"));
  tabs->setCurrentIndex(3);
  EXPECT_EQ(ws->settings.check_bview, 3);
  EXPECT_FALSE(window->chartPane()->isVisible());
  EXPECT_TRUE(window->pane(Pane::kTimeSeries)->isVisible());
  window->Action(cmd::kStandardChart)->trigger();
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_TRUE(window->chartPane()->isVisible());
  // Hiding the tabs gives their height to the technical pane.
  const int technicalHeight = window->technicalPane()->height();
  const int tabHeight = tabs->height();
  window->Action(cmd::kChartTabsShown)->trigger();
  EXPECT_EQ(ws->settings.check_btab, 0);
  EXPECT_EQ(window->technicalPane()->height(), technicalHeight + tabHeight);
}

TEST_F(MainWindowTest, PanesAreLaidOutAgainWhenTheBandsChangeTheClientArea) {
  Show();
  const QWidget* client = window->centralWidget();
  const QTabBar* tabs = window->chartTabs();
  // The tabs end at the bottom of the client area, right above the status bar; the technical pane
  // ends where the tabs begin.
  auto expectLaidOutFor = [&](const char* after) {
    QApplication::processEvents();
    EXPECT_EQ(tabs->geometry().bottom() + 1, client->height()) << after;
    EXPECT_EQ(window->technicalPane()->geometry().bottom() + 1, tabs->y()) << after;
  };
  expectLaidOutFor("the start");
  const int height = client->height();
  ASSERT_TRUE(window->RunCommand(cmd::kToolbarShown));
  expectLaidOutFor("hiding the bands");
  EXPECT_GT(client->height(), height);
  ASSERT_TRUE(window->RunCommand(cmd::kToolbarShown));
  expectLaidOutFor("showing them again");
  // A band dragged onto a row of its own makes the band area taller.
  QToolBar* band = window->findChild<QToolBar*>("band2");
  window->insertToolBarBreak(band);
  QApplication::processEvents();
  EXPECT_LT(client->height(), height);
  expectLaidOutFor("a new row of bands");
}

TEST_F(MainWindowTest, AllBrandsDialogOpensCentredOnTheScreen) {
  Show();
  QRect dialog;
  QTimer::singleShot(0, [&dialog] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      dialog = d->frameGeometry();
      d->reject();
    }
  });
  EXPECT_FALSE(window->RunDialog(DialogId::kAllBrandsDownload));
  ASSERT_TRUE(dialog.isValid());
  const QPoint offset = dialog.center() - window->screen()->availableGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 4) << dialog.x() << "," << dialog.y();
}

TEST(QtPromptTest, MessageBoxButtonsAreJapanese) {
  QtPrompt prompt;
  for (const auto& [buttons, expected] : std::vector<std::pair<PromptButtons, QStringList>>{
           {PromptButtons::YesNoCancel, {"はい", "いいえ", "キャンセル"}},
           {PromptButtons::OkCancel, {"OK", "キャンセル"}}}) {
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        for (QAbstractButton* b : box->buttons()) texts << b->text().remove(QRegularExpression("\\(&.\\)|&"));
        box->reject();
      }
    });
    prompt.Ask("終了しますか？", "最終確認", buttons, PromptIcon::Question, PromptAnswer::Cancel);
    texts.sort();
    QStringList want = expected;
    want.sort();
    EXPECT_EQ(texts, want);
  }
}

// Sends a mouse event to w at the position p of the back frame.
void SendMouse(QWidget* w, QWidget* back, QEvent::Type type, QPoint p, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  const QPoint global = back->mapToGlobal(p);
  QMouseEvent e(type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

TEST_F(MainWindowTest, DraggingHbMovesThePaneEdgesOnRelease) {
  Show();
  SplitterBar* hb = window->splitter(Splitter::kHB);
  QWidget* back = window->backFrame();
  const int ht = ws->settings.check_frame_HT;
  const int wd = ws->settings.check_frame_wd;
  const int chartTop = window->chartPane()->y();
  const int before = window->chartPane()->height();
  const QPoint start = back->mapFromGlobal(hb->mapToGlobal(QPoint(hb->width() / 2, 1)));
  SendMouse(hb, back, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  const int target = start.y() - 100;
  SendMouse(hb, back, QEvent::MouseMove, {start.x(), target}, Qt::NoButton, Qt::LeftButton);
  // The drag line follows the cursor; nothing else has moved yet.
  QWidget* line = hb->dragLine();
  EXPECT_TRUE(line->isVisible());
  const int targetInClient = back->mapTo(window->centralWidget(), QPoint(0, target)).y();
  EXPECT_EQ(line->height(), 4);
  EXPECT_TRUE(line->y() <= targetInClient && targetInClient < line->y() + 4)
      << line->y() << " " << targetInClient;
  EXPECT_EQ(window->chartPane()->height(), before);
  SendMouse(hb, back, QEvent::MouseButtonRelease, {start.x(), target}, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(line->isVisible());
  EXPECT_EQ(ws->settings.check_frame_HB, target - ht);
  EXPECT_EQ(window->chartPane()->y(), chartTop);
  EXPECT_EQ(window->chartPane()->height(), target - ht);
  EXPECT_EQ(hb->y(), chartTop + target - ht);
  EXPECT_EQ(window->technicalPane()->y(), chartTop + target - ht + wd);
}

TEST_F(MainWindowTest, RightButtonEndsAnHtDragWithoutMoving) {
  Show();
  SplitterBar* htBar = window->splitter(Splitter::kHT);
  QWidget* back = window->backFrame();
  const int ht = ws->settings.check_frame_HT;
  const QRect list = window->pane(Pane::kList)->geometry();
  const QPoint start = back->mapFromGlobal(htBar->mapToGlobal(QPoint(htBar->width() / 2, 1)));
  SendMouse(htBar, back, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  SendMouse(htBar, back, QEvent::MouseMove, {start.x(), start.y() + 60}, Qt::NoButton, Qt::LeftButton);
  SendMouse(htBar, back, QEvent::MouseButtonRelease, {start.x(), start.y() + 60}, Qt::RightButton,
            Qt::LeftButton);
  EXPECT_FALSE(htBar->dragLine()->isVisible());
  EXPECT_FALSE(htBar->dragging());
  SendMouse(htBar, back, QEvent::MouseButtonRelease, {start.x(), start.y() + 60}, Qt::LeftButton,
            Qt::NoButton);
  EXPECT_EQ(ws->settings.check_frame_HT, ht);
  EXPECT_EQ(window->pane(Pane::kList)->geometry(), list);
}

TEST_F(MainWindowTest, VReleasedBeyondTheRightEdgeIsClamped) {
  Show();
  SplitterBar* v = window->splitter(Splitter::kV);
  QWidget* back = window->backFrame();
  const QPoint start = back->mapFromGlobal(v->mapToGlobal(QPoint(1, v->height() / 2)));
  SendMouse(v, back, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  // Beyond the frame no line is drawn.
  SendMouse(v, back, QEvent::MouseMove, {back->width() + 50, start.y()}, Qt::NoButton, Qt::LeftButton);
  EXPECT_FALSE(v->dragLine()->isVisible());
  SendMouse(v, back, QEvent::MouseButtonRelease, {back->width() + 50, start.y()}, Qt::LeftButton,
            Qt::NoButton);
  const int wd = ws->settings.check_frame_wd;
  EXPECT_EQ(ws->settings.check_frame_V, back->width() - wd);
  EXPECT_EQ(window->pane(Pane::kList)->x(), back->width() - wd);
}

TEST_F(MainWindowTest, ChartPanesShareTheWindowScrollAndReadOut) {
  FillSeries(600);
  Show();
  window->Refresh(Pane::kPriceChart);
  ChartPaneWidget* chart = window->chartPane();
  const ChartWindow& w = ws->window;
  ASSERT_GT(w.visible, 10);
  EXPECT_EQ(w.first + w.visible, 600);  // the newest bars show
  EXPECT_EQ(chart->ScrollBar()->value(), w.first);

  // The wheel toward the user shows 5 bars earlier; the scroll bar follows.
  const int first = w.first;
  QWheelEvent wheel(QPointF(50, 50), QPointF(chart->mapToGlobal(QPoint(50, 50))), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(chart, &wheel);
  EXPECT_EQ(w.first, first - 5);
  EXPECT_EQ(chart->ScrollBar()->value(), first - 5);

  // Moving over a bar writes its read-out into the status bar.
  const int x = w.X(3);
  QMouseEvent move(QEvent::MouseMove, QPointF(x, 40), QPointF(chart->mapToGlobal(QPoint(x, 40))),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(chart, &move);
  const int index = BarUnderPoint(w, ws->series.count(), x);
  ASSERT_GE(index, 0);
  const PriceBar& bar = ws->series[index];
  EXPECT_EQ(window->StatusPart(2), QStringLiteral("始:%1").arg(bar.open));
  EXPECT_EQ(window->StatusPart(5), QStringLiteral("終:%1").arg(bar.close));
  // A brand without data shows nothing of the brand before.
  {
    const PriceSeries shown = ws->series;
    test::FakePrompt prompt;
    CodeBoxChanged(*ws, *window, prompt, "9999");
    for (int i = 0; i < 9; ++i) EXPECT_EQ(window->StatusPart(i), QString()) << i;
    ws->series = shown;
    window->Refresh(Pane::kPriceChart);
  }

  // Both panes painted candles and indicators, not just background.
  const QImage picture = chart->Picture();
  const QRgb background = qRgb(0, 30, 0);
  int other = 0;
  for (int y = 0; y < picture.height(); y += 3) {
    for (int px = 0; px < picture.width(); px += 3)
      other += (picture.pixel(px, y) & 0xFFFFFF) != (background & 0xFFFFFF);
  }
  EXPECT_GT(other, 200);
}

// Pixels of colour c (0xRRGGBB) in an image.
int CountColour(const QImage& image, QRgb c) {
  int n = 0;
  const QImage img = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) n += (line[x] & 0xFFFFFF) == (c & 0xFFFFFF);
  }
  return n;
}

void SendChartMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button,
                    Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

TEST_F(MainWindowTest, TrendLineStaysOverThePictureUntilTheNextRepaint) {
  FillSeries(600);
  Show();
  window->Refresh(Pane::kPriceChart);
  ChartPaneWidget* chart = window->chartPane();
  const QRgb trend = qRgb(0xFF, 0x80, 0xFF);  // color_chart08
  ASSERT_EQ(CountColour(chart->grab().toImage(), trend), 0);
  const qint64 painted = chart->Picture().cacheKey();
  SendChartMouse(chart, QEvent::MouseButtonPress, {100, 60}, Qt::LeftButton, Qt::LeftButton);
  SendChartMouse(chart, QEvent::MouseMove, {300, 150}, Qt::NoButton, Qt::LeftButton);
  SendChartMouse(chart, QEvent::MouseButtonRelease, {320, 160}, Qt::LeftButton, Qt::NoButton);
  EXPECT_GE(CountColour(chart->grab().toImage(), trend), 200);  // free mode: to the release point
  EXPECT_EQ(CountColour(chart->Picture(), trend), 0);           // drawn over the picture, not into it
  EXPECT_EQ(chart->Picture().cacheKey(), painted);              // and the picture was not painted again
  window->Action(cmd::kWeekly)->trigger();                      // a new paint
  EXPECT_EQ(CountColour(chart->grab().toImage(), trend), 0);
}

TEST_F(MainWindowTest, CrosshairRunsAcrossBothPanesAndMovesWithTheCursor) {
  FillSeries(600);
  Show();
  window->Action(cmd::kCrosshair)->trigger();
  ASSERT_EQ(ws->settings.check_cross, 1);
  ChartPaneWidget* chart = window->chartPane();
  QWidget* technical = window->pane(Pane::kTechnical);
  auto columnDiffers = [](QWidget* w, const QImage& picture, int x) {
    const QImage shown = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int differ = 0;
    for (int y = 0; y < std::min(shown.height(), picture.height()); ++y)
      differ += (shown.pixel(x, y) & 0xFFFFFF) != (picture.pixel(x, y) & 0xFFFFFF);
    return differ;
  };
  SendChartMouse(chart, QEvent::MouseMove, {240, 80}, Qt::NoButton, Qt::NoButton);
  const QImage chartPicture = chart->Picture().convertToFormat(QImage::Format_RGB32);
  const QImage technicalPicture = window->technicalPane()->Picture().convertToFormat(QImage::Format_RGB32);
  const qint64 chartKey = chart->Picture().cacheKey();
  const qint64 technicalKey = window->technicalPane()->Picture().cacheKey();
  EXPECT_GT(columnDiffers(chart, chartPicture, 240), 20);
  EXPECT_GT(columnDiffers(technical, technicalPicture, 240), 10);
  // The next move erases the old lines and draws new ones.
  SendChartMouse(chart, QEvent::MouseMove, {300, 90}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(columnDiffers(technical, technicalPicture, 240), 0);
  EXPECT_GT(columnDiffers(technical, technicalPicture, 300), 10);
  // Both panes showed the moves from their back buffers: neither picture was painted again.
  EXPECT_EQ(chart->Picture().cacheKey(), chartKey);
  EXPECT_EQ(window->technicalPane()->Picture().cacheKey(), technicalKey);
}

int32_t BandInt(const std::array<uint8_t, 80>& rec, size_t offset) {
  int32_t v;
  std::memcpy(&v, rec.data() + offset, 4);
  return v;
}

void SetBand(std::array<uint8_t, 80>& rec, int32_t id, int32_t style) {
  rec.fill(0);
  const int32_t size = 80;
  std::memcpy(rec.data() + rebar_band::kCbSize, &size, 4);
  std::memcpy(rec.data() + rebar_band::kId, &id, 4);
  std::memcpy(rec.data() + rebar_band::kStyle, &style, 4);
}

TEST(MainWindowExitTest, CloseSavesTheWindowAndTheBandOrderWhichTheNextStartRestores) {
  test::TempDir dir;
  MemoryRegistry registry;
  auto ws = std::make_unique<Workspace>();
  std::strncpy(ws->settings.runtime.data_path, dir.path().c_str(), sizeof ws->settings.runtime.data_path - 1);
  test::WriteBytes(dir / "data/mybrand.dat", "");
  // Band 2 first, then band 0, and band 1 on a row of its own.
  SetBand(ws->settings.rbBand[0], 2, 0);
  SetBand(ws->settings.rbBand[1], 0, 0);
  SetBand(ws->settings.rbBand[2], 1, 1);
  {
    MainWindow window(*ws, &registry, "K");
    window.resize(930, 640);
    window.show();
    QApplication::processEvents();
    const QToolBar* b0 = window.findChild<QToolBar*>("band0");
    const QToolBar* b1 = window.findChild<QToolBar*>("band1");
    const QToolBar* b2 = window.findChild<QToolBar*>("band2");
    EXPECT_LT(b2->x(), b0->x());
    EXPECT_EQ(b2->y(), b0->y());
    EXPECT_GT(b1->y(), b0->y());
    window.close();
  }
  EXPECT_GT(registry.flushes, 0);
  auto next = std::make_unique<Workspace>();
  ASSERT_TRUE(next->settings.load(registry, "K"));
  EXPECT_EQ(next->settings.check_rc.right, 930);
  EXPECT_EQ(next->settings.check_rc.bottom, 640);
  EXPECT_EQ(next->settings.check_sizing, 9);
  EXPECT_EQ(BandInt(next->settings.rbBand[0], rebar_band::kId), 2);
  EXPECT_EQ(BandInt(next->settings.rbBand[1], rebar_band::kId), 0);
  EXPECT_EQ(BandInt(next->settings.rbBand[2], rebar_band::kId), 1);
  EXPECT_EQ(BandInt(next->settings.rbBand[2], rebar_band::kStyle) & 1, 1);
  EXPECT_GT(BandInt(next->settings.rbBand[0], rebar_band::kCx), 0);
}

TEST(MainWindowExitTest, MaximisedOrNotTheWindowComesBackWhereItWas) {
  test::TempDir dir;
  MemoryRegistry registry;
  auto ws = std::make_unique<Workspace>();
  std::strncpy(ws->settings.runtime.data_path, dir.path().c_str(), sizeof ws->settings.runtime.data_path - 1);
  test::WriteBytes(dir / "data/mybrand.dat", "");
  ws->settings.check_window = 1;
  ws->settings.check_rc = {.top = 90, .left = 120, .right = 700, .bottom = 500};
  // Three starts and exits, the second one maximised: the place is the same each time (the window
  // has a frame around it here too).
  for (int sizing : {9, 3, 9}) {
    ws->settings.check_sizing = sizing;
    {
      MainWindow window(*ws, &registry, "K");
      window.ShowAtSavedPlace();
      QApplication::processEvents();
      if (sizing == 9) {
        EXPECT_EQ(window.geometry(), QRect(120, 90, 700, 500));
      }
      window.close();
    }
    auto next = std::make_unique<Workspace>();
    ASSERT_TRUE(next->settings.load(registry, "K"));
    const auto& rc = next->settings.check_rc;
    EXPECT_EQ(QRect(rc.left, rc.top, rc.right, rc.bottom), QRect(120, 90, 700, 500)) << "after " << sizing;
  }
}

TEST(MainWindowExitTest, TheExitCommandKeepsTheBandRecordsReadAtStart) {
  test::TempDir dir;
  MemoryRegistry registry;
  auto ws = std::make_unique<Workspace>();
  std::strncpy(ws->settings.runtime.data_path, dir.path().c_str(), sizeof ws->settings.runtime.data_path - 1);
  test::WriteBytes(dir / "data/mybrand.dat", "");
  ws->settings.rbBand[0].fill(0x5A);  // not a record of ours: the default order is used
  const auto kept = ws->settings.rbBand[0];
  MainWindow window(*ws, &registry, "K");
  window.show();
  QApplication::processEvents();
  EXPECT_TRUE(window.RunCommand(cmd::kExit));
  EXPECT_GT(registry.flushes, 0);
  EXPECT_EQ(ws->settings.rbBand[0], kept);
}

TEST(QueuedDownloadListenerTest, WorkerCallsArriveOnTheUiThreadInOrder) {
  QObject context;
  std::vector<std::string> seen;
  QThread* uiThread = QThread::currentThread();
  QueuedDownloadListener::Handlers h;
  h.progress = [&](int32_t code, int position) {
    EXPECT_EQ(QThread::currentThread(), uiThread);
    seen.push_back("progress " + std::to_string(code) + " " + std::to_string(position));
  };
  h.message = [&](const QString& text) { seen.push_back(text.toStdString()); };
  h.finished = [&](bool sound, bool cancelled) {
    seen.push_back(std::string("finished ") + (sound ? "sound" : "quiet") + (cancelled ? " cancelled" : ""));
  };
  auto listener = std::make_shared<QueuedDownloadListener>(&context, h);
  std::thread worker([listener] {
    listener->OnProgress(7203, 5903);
    listener->OnMessage(kMsgListDone);
    listener->OnFinished(true, false);
  });
  worker.join();
  EXPECT_TRUE(seen.empty());  // nothing runs on the worker
  QApplication::processEvents();
  EXPECT_EQ(seen,
            (std::vector<std::string>{"progress 7203 5903", std::string(kMsgListDone), "finished sound"}));
}

TEST(RangeDialogTest, StaysOpenOnABadPeriodAndStoresAGoodOne) {
  DownloadState state;
  int32_t days[4] = {2001, 4, 0, 0};
  RangeDialog dialog(state, days);
  auto* from = dialog.findChild<QLineEdit*>("rangeBox0");
  auto* fromMonth = dialog.findChild<QLineEdit*>("rangeBox1");
  auto* to = dialog.findChild<QLineEdit*>("rangeBox2");
  auto* toMonth = dialog.findChild<QLineEdit*>("rangeBox3");
  ASSERT_TRUE(from && fromMonth && to && toMonth);
  EXPECT_EQ(from->text(), QStringLiteral("2001"));
  EXPECT_EQ(to->text(), QString());  // 0 leaves the box empty
  dialog.open();
  to->setText(QStringLiteral("2000"));
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());  // from after to
  EXPECT_EQ(days[2], 0);
  to->setText(QStringLiteral("2005"));
  toMonth->setText(QStringLiteral("13"));
  dialog.accept();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(days[0], 2001);
  EXPECT_EQ(days[2], 2005);
  EXPECT_EQ(days[3], 12);
}

}  // namespace
}  // namespace sorano
