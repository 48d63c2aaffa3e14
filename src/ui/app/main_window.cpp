#include "ui/app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <cstring>

#include "core/app/commands.h"
#include "core/app/lists_area.h"
#include "core/net/net_config.h"
#include "core/net/version_check.h"
#include "core/text/sjis.h"
#include "ui/app/icons.h"
#include "ui/app/splitter_bar.h"
#include "ui/chart/chart_pane.h"
#include "ui/chart/comparison_pane.h"
#include "ui/chart/time_series_pane.h"
#include "ui/gfx/qt_canvas.h"
#include "ui/lists/list_pane.h"
#include "ui/lists/lists_controller.h"
#include "ui/lists/tree_pane.h"
#include "ui/net/download_dialogs.h"
#include "ui/output/output_controller.h"
#include "ui/search/search_band.h"
#include "ui/technical/technical_pane_widget.h"

namespace sorano {

namespace {

QString U(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The chart tabs in order and the commands that choose their modes.
constexpr std::array<int, 4> kTabCommands = {cmd::kStandardChart, cmd::kPercentageChart,
                                             cmd::kComparisonChart, cmd::kTimeSeriesChart};
constexpr std::array<const char*, 4> kTabTexts = {"標準チャート", "対数チャート", "比較チャート", "時系列"};

void Place(QWidget* w, const PaneRect& r) {
  w->setGeometry(r.x, r.y, std::max(0, r.width), std::max(0, r.height));
  w->setVisible(r.width > 0 && r.height > 0);
}

int32_t ReadInt(const std::array<uint8_t, 80>& rec, size_t offset) {
  int32_t v = 0;
  std::memcpy(&v, rec.data() + offset, 4);
  return v;
}

void WriteInt(std::array<uint8_t, 80>& rec, size_t offset, int32_t v) {
  std::memcpy(rec.data() + offset, &v, 4);
}

// Our band records use the style bit of a band that starts a new row of the bands.
constexpr int32_t kBandBreak = 0x0001;

}  // namespace

MainWindow::MainWindow(Workspace& ws, RegistryBackend* registry, std::string key, QWidget* parent)
    : QMainWindow(parent), ws_(ws), registry_(registry), key_(std::move(key)), prompt_(this) {
  setObjectName("mainWindow");
  setWindowTitle(QString::fromUtf8(kTitleText));
  setWindowIcon(ProgramIcon());
  BuildActions();
  BuildMenus();
  BuildStatusBar();
  BuildBands();
  BuildPanes();

  tray_ = new QSystemTrayIcon(ProgramIcon(), this);
  tray_->setToolTip(QString::fromUtf8(kTitleText));
  tray_->setContextMenu(ContextMenu(context_menu::kTray));
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) RestoreFromTray();
  });

  ShowMenuBar(ws_.settings.check_menu > 0);
  ShowToolbar(ws_.settings.check_tool > 0);
  ShowStatusBar(ws_.settings.check_status > 0);
  SelectChartTab(ws_.settings.check_bview);
  UpdateMenuMarks();
}

MainWindow::~MainWindow() {
  FinishJobs();
}

// ---- building ----

void MainWindow::BuildActions() {
  for (const CommandInfo& c : Commands()) {
    auto* a = new QAction(c.text.empty() ? U(c.help) : U(c.text), this);
    a->setData(c.id);
    a->setStatusTip(U(c.help));
    a->setToolTip(U(c.help));
    if (!c.shortcut.empty()) {
      a->setShortcut(QKeySequence::fromString(U(c.shortcut), QKeySequence::PortableText));
      a->setShortcutContext(Qt::ApplicationShortcut);
    }
    const int id = c.id;
    connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
    addAction(a);  // keys work without the menu bar too
    actions_.insert(id, a);
  }
}

QMenu* MainWindow::BuildMenu(std::span<const MenuEntry> entries, size_t& i, QMenu* menu) {
  for (; i < entries.size(); ++i) {
    const MenuEntry& e = entries[i];
    switch (e.kind) {
      case MenuEntryKind::kEnd:
        return menu;
      case MenuEntryKind::kSeparator:
        menu->addSeparator();
        break;
      case MenuEntryKind::kPopup: {
        QMenu* sub = menu->addMenu(U(e.text));
        ++i;
        BuildMenu(entries, i, sub);
        break;
      }
      case MenuEntryKind::kInactive: {
        QAction* a = menu->addAction(U(e.text));
        a->setEnabled(false);
        break;
      }
      case MenuEntryKind::kCommand: {
        QAction* shared = actions_.value(e.id, nullptr);
        if (shared == nullptr) break;
        if (e.text.empty() || U(e.text) == shared->text()) {
          menu->addAction(shared);
        } else {
          // The same command under another text (the notification-area menu's "終了(&E)").
          auto* a = new QAction(U(e.text), menu);
          a->setData(e.id);
          a->setStatusTip(shared->statusTip());
          const int id = e.id;
          connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
          menu->addAction(a);
        }
        break;
      }
    }
  }
  return menu;
}

void MainWindow::BuildMenus() {
  const auto main = MainMenu();
  for (size_t i = 0; i < main.size(); ++i) {
    if (main[i].kind != MenuEntryKind::kPopup) continue;
    QMenu* top = menuBar()->addMenu(U(main[i].text));
    ++i;
    BuildMenu(main, i, top);
  }
  const auto ctx = ContextMenus();
  for (size_t i = 0; i < ctx.size(); ++i) {
    if (ctx[i].kind != MenuEntryKind::kPopup) continue;
    auto* menu = new QMenu(U(ctx[i].text), this);
    ++i;
    BuildMenu(ctx, i, menu);
    contextMenus_.append(menu);
  }
  // The window's own menu (the title bar's system menu has no place for it here): reachable by a
  // right click on the bands, the status bar or the back frame even while the menu bar is hidden.
  windowMenu_ = new QMenu(this);
  QAction* menuBarItem = windowMenu_->addAction(QStringLiteral("メニューバーの表示(&M)"));
  menuBarItem->setObjectName("windowMenuMenuBar");
  connect(menuBarItem, &QAction::triggered, this, [this] {
    if (!RunCommand(cmd::kSysMenuMenuBar)) RunCommand(cmd::kMenuBarShown);
  });
}

QMenu* MainWindow::ContextMenu(int index) const {
  return index >= 0 && index < contextMenus_.size() ? contextMenus_[index] : nullptr;
}

QMenu* MainWindow::createPopupMenu() {
  auto* menu = new QMenu(this);
  menu->addActions(windowMenu_->actions());
  return menu;
}

void MainWindow::BuildBands() {
  // Band 0: the command buttons.
  auto* toolbar = new QToolBar(QStringLiteral("ツールバー"), this);
  toolbar->setObjectName("band0");
  toolbar->setIconSize(QSize(24, 24));
  for (const ToolbarButton& b : ToolbarButtons()) {
    if (b.id == 0) {
      toolbar->addSeparator();
      continue;
    }
    const CommandInfo* c = FindCommand(b.id);
    auto* a = new QAction(QIcon(ToolbarImage(b.bitmap)), c ? U(c->text) : QString::number(b.id), toolbar);
    a->setData(b.id);
    if (c != nullptr) {
      a->setToolTip(U(c->help));
      a->setStatusTip(U(c->help));
    }
    const int id = b.id;
    connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
    toolbar->addAction(a);
    toolbarActions_.insert(id, a);
  }
  bands_[0] = toolbar;

  // Band 1: the width of the bars.
  auto* widthBand = new QToolBar(QStringLiteral("幅"), this);
  widthBand->setObjectName("band1");
  widthSlider_ = new QSlider(Qt::Horizontal, widthBand);
  widthSlider_->setObjectName("widthSlider");
  widthSlider_->setRange(1, 10);
  widthSlider_->setFixedSize(150, 22);
  widthSlider_->setToolTip(QStringLiteral("チャート内の幅設定"));
  widthSlider_->setValue(std::clamp(ws_.settings.check_chsize, 1, 10));
  connect(widthSlider_, &QSlider::valueChanged, this, [this](int v) {
    ws_.settings.check_chsize = v;
    RefreshVisibleCharts(ws_, *this);
  });
  widthBand->addWidget(widthSlider_);
  bands_[1] = widthBand;

  // Band 2: code and name search.
  searchBand_ = new SearchBand(ws_, *this, prompt_, this);
  bands_[2] = searchBand_;

  RestoreBandOrder();
}

SearchView& MainWindow::Search() {
  return *searchBand_;
}

QLineEdit* MainWindow::codeBox() const {
  return searchBand_->codeBox();
}

void MainWindow::RestoreBandOrder() {
  // The stored records name the bands in their order; a record that is not ours keeps the default.
  std::array<int, 3> order = {0, 1, 2};
  std::array<bool, 3> rowBreak = {false, false, false};
  std::array<bool, 3> seen = {false, false, false};
  bool valid = true;
  for (int i = 0; i < 3 && valid; ++i) {
    const auto& rec = ws_.settings.rbBand[i];
    const int32_t id = ReadInt(rec, rebar_band::kId);
    if (ReadInt(rec, rebar_band::kCbSize) != static_cast<int32_t>(rebar_band::kRecordSize) || id < 0 ||
        id > 2 || seen[static_cast<size_t>(id)]) {
      valid = false;
      break;
    }
    seen[static_cast<size_t>(id)] = true;
    order[static_cast<size_t>(i)] = id;
    rowBreak[static_cast<size_t>(i)] = i > 0 && (ReadInt(rec, rebar_band::kStyle) & kBandBreak) != 0;
  }
  if (!valid) {
    order = {0, 1, 2};
    rowBreak = {false, false, false};
  }
  for (size_t i = 0; i < 3; ++i) {
    if (rowBreak[i]) addToolBarBreak();
    addToolBar(Qt::TopToolBarArea, bands_[static_cast<size_t>(order[i])]);
  }
}

void MainWindow::StoreBandRecords() {
  std::array<int, 3> order = {0, 1, 2};
  std::sort(order.begin(), order.end(), [this](int a, int b) {
    const QRect ra = bands_[static_cast<size_t>(a)]->geometry();
    const QRect rb = bands_[static_cast<size_t>(b)]->geometry();
    return ra.y() != rb.y() ? ra.y() < rb.y() : ra.x() < rb.x();
  });
  int previousY = 0;
  for (size_t i = 0; i < 3; ++i) {
    QToolBar* band = bands_[static_cast<size_t>(order[i])];
    auto& rec = ws_.settings.rbBand[i];
    WriteInt(rec, rebar_band::kCbSize, static_cast<int32_t>(rebar_band::kRecordSize));
    WriteInt(rec, rebar_band::kMask, rebar_band::kPresetMask);
    WriteInt(rec, rebar_band::kStyle, i > 0 && band->geometry().y() != previousY ? kBandBreak : 0);
    WriteInt(rec, rebar_band::kCyMinChild, 28);
    WriteInt(rec, rebar_band::kCx, band->width());
    WriteInt(rec, rebar_band::kId, order[i]);
    previousY = band->geometry().y();
  }
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("statusBar");
  bar->setSizeGripEnabled(true);
  for (size_t i = 0; i < statusParts_.size(); ++i) {
    auto* label = new QLabel(bar);
    label->setObjectName(QStringLiteral("statusPart%1").arg(i));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addWidget(label, i + 1 == statusParts_.size() ? 1 : 0);
    statusParts_[i] = label;
  }
  bar->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(bar, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { windowMenu_->popup(statusBar()->mapToGlobal(p)); });
}

QString MainWindow::StatusPart(int i) const {
  return i >= 0 && i < static_cast<int>(statusParts_.size()) ? statusParts_[static_cast<size_t>(i)]->text()
                                                             : QString();
}

void MainWindow::BuildPanes() {
  client_ = new QWidget(this);
  client_->setObjectName("client");
  // The panes are laid out whenever the client area changes size, whatever changed it: the window, a
  // band shown, hidden or moved onto another row, the status bar or the menu bar.
  client_->installEventFilter(this);
  setCentralWidget(client_);
  back_ = new QWidget(client_);
  back_->setObjectName("backFrame");
  back_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(back_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { windowMenu_->popup(back_->mapToGlobal(p)); });
  separator_ = new QFrame(client_);
  separator_->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  crosshair_.frame = client_;

  ListsController::Menus menus;
  menus.tree = ContextMenu(context_menu::kTree);
  const QList<QAction*> listMenus = ContextMenu(context_menu::kList)->actions();
  for (size_t i = 0; i < menus.list.size() && static_cast<qsizetype>(i) < listMenus.size(); ++i)
    menus.list[i] = listMenus[static_cast<qsizetype>(i)]->menu();
  menus.action = [this](int id) { return Action(id); };
  lists_ = new ListsController(ws_, *this, prompt_, std::move(menus), client_);
  tree_ = lists_->tree();
  list_ = lists_->list();
  const ChartModel model{&ws_.settings, &ws_.series,     &ws_.window,
                         &ws_.brands,   &ws_.monochrome, &ws_.comparisons};
  chart_ = new ChartPaneWidget(model, &crosshair_, client_);
  // A frame is on the screen once the paint that drew it has been flushed: the next turn of the event
  // loop. Nothing the first frame does not need is done before it; a start that paints no chart (the
  // chart hidden by the stored arrangement, the window in the tray) does it a second after the start.
  connect(
      chart_, &ChartPaneWidget::Painted, this,
      [this] {
        QTimer::singleShot(0, this, [this] {
          Q_EMIT FirstFrameShown();
          AfterFirstFrame();
        });
      },
      Qt::SingleShotConnection);
  QTimer::singleShot(1000, this, [this] { AfterFirstFrame(); });
  technical_ = new TechnicalPaneWidget(model, &crosshair_, client_);
  timeSeries_ = new TimeSeriesPaneWidget(model, client_);
  comparison_ = new ComparisonPaneWidget(model, client_);
  output_ = std::make_unique<OutputController>(ws_, this, chart_, technical_);
  connect(chart_, &ChartPaneWidget::WindowScrolled, technical_, &TechnicalPaneWidget::Render);
  connect(chart_, &ChartPaneWidget::Readout, this, &MainWindow::ShowReadout);
  connect(technical_, &TechnicalPaneWidget::Readout, this, &MainWindow::ShowReadout);
  auto crosshairMoved = [this] {
    chart_->update();
    technical_->update();
  };
  connect(chart_, &ChartPaneWidget::CrosshairMoved, this, crosshairMoved);
  connect(technical_, &TechnicalPaneWidget::CrosshairMoved, this, crosshairMoved);
  connect(chart_, &ChartPaneWidget::ContextMenuRequested, this, [this](const QPoint& p) {
    UpdateMenuMarks();
    ContextMenu(context_menu::kChart)->popup(p);
  });
  connect(technical_, &TechnicalPaneWidget::ContextMenuRequested, this, [this](const QPoint& p) {
    UpdateMenuMarks();
    ContextMenu(context_menu::kTechnical)->popup(p);
  });
  // Every view of the chart area offers the chart side's menu, the way back to the other views.
  const auto chartMenu = [this](const QPoint& p) {
    UpdateMenuMarks();
    ContextMenu(context_menu::kChart)->popup(p);
  };
  connect(timeSeries_, &TimeSeriesPaneWidget::ContextMenuRequested, this, chartMenu);
  connect(comparison_, &ComparisonPaneWidget::ContextMenuRequested, this, chartMenu);

  splitterV_ = new SplitterBar(Splitter::kV, back_, client_);
  splitterHT_ = new SplitterBar(Splitter::kHT, back_, client_);
  splitterHB_ = new SplitterBar(Splitter::kHB, back_, client_);
  for (SplitterBar* s : {splitterV_, splitterHT_, splitterHB_}) {
    s->frameWd = [this] { return ws_.settings.check_frame_wd; };
    s->frameHT = [this] { return ws_.settings.check_frame_HT; };
    s->onRelease = [this](const SplitterDrag::Release& r) {
      ApplySplitterRelease(ws_.settings, r);
      ApplyLayout(false);  // the status-bar parts are left as they are for this one layout
    };
  }

  tabs_ = new QTabBar(client_);
  tabs_->setObjectName("chartTabs");
  tabs_->setShape(QTabBar::RoundedSouth);
  tabs_->setIconSize(QSize(16, 16));
  tabs_->setExpanding(false);
  tabs_->setDrawBase(false);
  // check_font_name is a Windows face name in Shift_JIS; the canvas maps it to an installed family.
  const std::string face(ws_.settings.check_font_name,
                         strnlen(ws_.settings.check_font_name, sizeof ws_.settings.check_font_name));
  QFont font(QtCanvas::MapFace(QString::fromStdString(SjisToUtf8(face))));
  font.setPixelSize(std::max(6, static_cast<int>(ws_.settings.check_font_size / 1.5)));
  tabs_->setFont(font);
  for (size_t i = 0; i < kTabTexts.size(); ++i) {
    tabs_->addTab(QIcon(ChartTabImage(static_cast<int>(i))), QString::fromUtf8(kTabTexts[i]));
  }
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (index >= 0 && index < static_cast<int>(kTabCommands.size()))
      RunCommand(kTabCommands[static_cast<size_t>(index)]);
  });
  // The window's own menu wherever no pane menu of its own is: the back frame, the splitters, the tabs
  // and the panes whose content comes later.
  for (QWidget* w : std::initializer_list<QWidget*>{splitterV_, splitterHT_, splitterHB_, tabs_}) {
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& p) {
      // The right button during a splitter drag cancels the drag instead.
      if (auto* bar = qobject_cast<SplitterBar*>(w); bar != nullptr && bar->dragging()) return;
      windowMenu_->popup(w->mapToGlobal(p));
    });
  }
  back_->lower();
}

// ---- layout ----

void MainWindow::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (!isMinimized() && width() > 0 && height() > 0) ws_.settings.check_sizing = isMaximized() ? 3 : 9;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
  if (watched == client_ && e->type() == QEvent::Resize) ApplyLayout(true);
  return QMainWindow::eventFilter(watched, e);
}

void MainWindow::ApplyLayout(bool updateStatusParts) {
  if (layingOut_ || client_ == nullptr) return;
  layingOut_ = true;
  if (updateStatusParts && ws_.settings.check_status > 0) {
    // Before the window is first shown the bar has no height of its own yet; its size hint is the
    // height it is given.
    const int statusHeight = std::max(statusBar()->height(), statusBar()->sizeHint().height());
    const std::array<int, 11> edges = StatusBarParts(statusHeight);
    int left = 0;
    for (size_t i = 0; i < edges.size(); ++i) {
      if (edges[i] < 0) break;  // the remaining parts reach the right edge
      statusParts_[i]->setFixedWidth(std::max(1, edges[i] - left));
      left = edges[i];
    }
  }
  // The bands and the status bar are outside the client widget: the layout sees no rebar (R is the
  // 2-pixel separator line alone) and no status bar.
  LayoutInput in =
      LayoutInputFrom(ws_, client_->width(), client_->height(), 0, 0, tabs_->sizeHint().height());
  in.clampSplitters = !isMinimized();
  in.comparisonCodeWindowOpen = comparison_->CodeWindowOpen();
  layout_ = LayOutPanes(ws_, in);
  Place(separator_, layout_.separator);
  Place(back_, layout_.back);
  Place(tree_, layout_.tree);
  Place(splitterV_, layout_.splitterV);
  Place(list_, layout_.list);
  Place(splitterHT_, layout_.splitterHT);
  Place(chart_, layout_.priceChart);
  Place(splitterHB_, layout_.splitterHB);
  Place(technical_, layout_.technical);
  Place(timeSeries_, layout_.timeSeries);
  Place(comparison_, layout_.comparison);
  Place(tabs_, layout_.tabs);
  back_->lower();
  comparison_->ApplyCodeWindow(layout_.codeWindow);
  if (layout_.repaintComparison) comparison_->Render();
  layingOut_ = false;
}

// ---- commands ----

bool MainWindow::RunCommand(int id) {
  return ExecuteCommand(ws_, *this, prompt_, id);
}

void MainWindow::UpdateMenuMarks() {
  auto apply = [this](QAction* a) {
    bool ok = false;
    const int id = a->data().toInt(&ok);
    if (!ok) return;
    const MenuItemState st = MenuState(ws_, id);
    a->setEnabled(st.enabled);
    a->setCheckable(st.checked);
    a->setChecked(st.checked);
  };
  for (QAction* a : std::as_const(actions_)) apply(a);
  // Items that show a command under a text of their own belong to their menu.
  for (QAction* a : menuBar()->findChildren<QAction*>()) apply(a);
  for (QMenu* m : contextMenus_) {
    for (QAction* a : m->findChildren<QAction*>()) apply(a);
  }
  for (auto it = toolbarActions_.cbegin(); it != toolbarActions_.cend(); ++it) {
    it.value()->setEnabled(ToolbarButtonEnabled(ws_, it.key()));
  }
}

void MainWindow::ReloadSettingsView() {
  {
    QSignalBlocker block(widthSlider_);
    widthSlider_->setValue(std::clamp(ws_.settings.check_chsize, 1, 10));
  }
  ShowToolbar(ws_.settings.check_tool > 0);
  ShowStatusBar(ws_.settings.check_status > 0);
  ShowMenuBar(ws_.settings.check_menu > 0);
  SelectChartTab(ws_.settings.check_bview);
  LayOut();
}

void MainWindow::ShowReadout(const QStringList& parts) {
  if (ws_.settings.check_status <= 0) return;
  statusBar()->clearMessage();
  for (int i = 0; i < parts.size() && i < static_cast<int>(statusParts_.size()); ++i) {
    statusParts_[static_cast<size_t>(i)]->setText(parts[i]);
  }
}

// ---- Shell ----

void MainWindow::Repaint(Pane pane) {
  switch (pane) {
    case Pane::kPriceChart:
      // Both panes show the window the price chart fits at its paint.
      chart_->Render();
      technical_->Render();
      break;
    case Pane::kTechnical:
      technical_->Render();
      break;
    case Pane::kTimeSeries:
      timeSeries_->Render();
      break;
    case Pane::kComparison:
      comparison_->Render();
      break;
    case Pane::kTree:
    case Pane::kList:
      lists_->ShowColours();  // the list colours may have changed since the last paint
      this->pane(pane)->update();
      break;
    default:
      this->pane(pane)->update();
      break;
  }
}

void MainWindow::Refresh(Pane pane) {
  if (pane != Pane::kPriceChart) return Repaint(pane);  // only the price chart lays its window out again
  chart_->Relayout();
  technical_->Render();
  // A new layout follows every load: the read-out described a bar of the series shown before.
  ShowReadout(QStringList(static_cast<qsizetype>(statusParts_.size())));
}

void MainWindow::LayOut() {
  ApplyLayout(true);
}

QWidget* MainWindow::pane(Pane p) const {
  switch (p) {
    case Pane::kPriceChart:
      return chart_;
    case Pane::kTechnical:
      return technical_;
    case Pane::kTimeSeries:
      return timeSeries_;
    case Pane::kComparison:
      return comparison_;
    case Pane::kTree:
      return tree_;
    case Pane::kList:
      return list_;
  }
  return nullptr;
}

SplitterBar* MainWindow::splitter(Splitter s) const {
  return s == Splitter::kV ? splitterV_ : s == Splitter::kHT ? splitterHT_ : splitterHB_;
}

void MainWindow::SetCaption(std::string_view utf8) {
  setWindowTitle(U(utf8));
}

void MainWindow::SelectChartTab(int index) {
  if (index < 0 || index >= tabs_->count()) return;
  QSignalBlocker block(tabs_);
  tabs_->setCurrentIndex(index);
}

void MainWindow::ShowToolbar(bool shown) {
  for (QToolBar* band : bands_) band->setVisible(shown);
}

void MainWindow::ShowStatusBar(bool shown) {
  statusBar()->setVisible(shown);
}

void MainWindow::ShowMenuBar(bool shown) {
  menuBar()->setVisible(shown);
}

void MainWindow::RemoveTrayIcon() {
  tray_->hide();
}

void MainWindow::RestoreFromTray() {
  tray_->hide();
  if (ws_.settings.check_sizing == 3) {
    showMaximized();
  } else {
    showNormal();
  }
  raise();
  activateWindow();
}

void MainWindow::BringForward() {
  if (isMinimized() || !isVisible()) RestoreFromTray();
  raise();
  activateWindow();
}

void MainWindow::MoveToTray() {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;  // without a tray the window just stays minimised
  tray_->show();
  // Hidden, the window has no taskbar entry; the icon brings it back.
  QTimer::singleShot(0, this, [this] { hide(); });
}

void MainWindow::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange && isMinimized() && ws_.settings.check_task > 0) MoveToTray();
}

void MainWindow::Exit() {
  fetchBands_ = false;
  close();
}

bool MainWindow::OpenUrl(const std::string& url) {
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

bool MainWindow::OpenFile(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
}

bool MainWindow::StartWebBrowser() {
  // Debian's choice of web browser.
  return QProcess::startDetached(QStringLiteral("x-www-browser"), {});
}

OutputShell& MainWindow::output() {
  return *output_;
}

JobContext MainWindow::MakeJobContext() const {
  JobContext c;
  c.net = NetConfigFromSettings(ws_.settings);
  c.folder = ws_.settings.data_folder();
  c.table = &ws_.brands;
  c.period = ws_.settings.check_ymd;
  c.adjustment = ws_.settings.check_adjustment;
  return c;
}

bool MainWindow::RunDialog(DialogId dialog) {
  if (dialog == DialogId::kRangeInitialise) {
    RangeDialog d(ws_.downloads, ws_.settings.check_downloadday, this);
    return d.exec() == QDialog::Accepted;
  }
  if (dialog == DialogId::kAllBrandsDownload) {
    const JobContext context = MakeJobContext();
    AllBrandsDialog d(
        [this, context](bool list, bool charts, bool full, std::shared_ptr<DownloadListener> listener) {
          return StartAllBrandsJob(ws_.downloads, list, charts, full, context, std::move(listener));
        },
        [this](const std::function<void(std::string_view)>& show) {
          CancelAllBrandsJob(ws_.downloads, show);
        },
        [this] { sound_.Play(); },
        [this](const QString& text) { prompt_.Message(text.toStdString(), "エラー"); }, this);
    d.adjustSize();  // its size is known only once it is laid out
    d.move(screen()->availableGeometry().center() - d.rect().center());
    const bool ok = d.exec() == QDialog::Accepted;
    // The job may have rewritten the shown brand's files.
    ReloadSeries(ws_);
    RefreshVisibleCharts(ws_, *this);
    UpdateMenuMarks();
    return ok;
  }
  return false;
}

void MainWindow::ApplyTemporaryBar(int index, const ChartRecord& bar, const VolumeRecord& volume) {
  ReloadSeries(ws_);
  if (index < 0 || index >= PriceSeries::kCapacity || index > std::max(0, ws_.series.count())) return;
  PriceBar& b = ws_.series.buffer()[static_cast<size_t>(index)];
  b = PriceBar{bar.year, bar.month, bar.day,       bar.open,     bar.high,
               bar.low,  bar.close, volume.volume, volume.factor};
  ws_.series.SetCount(index + 1);
  Repaint(Pane::kPriceChart);
}

void MainWindow::StartDownload(SingleBrandJob job) {
  const int32_t code = ws_.code();
  QueuedDownloadListener::Handlers h;
  h.reload = [this](int32_t c) {
    if (c != ws_.code()) return;
    ReloadSeries(ws_);
    RefreshVisibleCharts(ws_, *this);
  };
  h.temporaryBar = [this](int32_t c, int index, const ChartRecord& bar, const VolumeRecord& volume) {
    if (c == ws_.code()) ApplyTemporaryBar(index, bar, volume);
  };
  // Shown once the progress dialog has closed; shared, as a call queued before a cancel may still
  // arrive after this function has returned.
  auto storeFailure = std::make_shared<QString>();
  h.storeFailed = [storeFailure](const QString& text) { *storeFailure = text; };
  h.finished = [this](bool playSound, bool) {
    if (progress_) progress_->Finish();
    UpdateMenuMarks();
    if (playSound) sound_.Play();
  };
  auto listener = std::make_shared<QueuedDownloadListener>(this, std::move(h));
  if (!StartSingleBrandJob(ws_.downloads, job, code, MakeJobContext(), listener, prompt_)) {
    UpdateMenuMarks();
    return;
  }
  UpdateMenuMarks();  // the data commands are greyed while the job runs
  ProgressDialog dialog(
      code,
      [this](const std::function<void(std::string_view)>& show) {
        CancelSingleBrandJob(ws_.downloads, show);
      },
      this);
  progress_ = &dialog;
  dialog.exec();
  progress_ = nullptr;
  UpdateMenuMarks();
  if (!storeFailure->isEmpty()) prompt_.Message(storeFailure->toStdString(), "エラー");
}

void MainWindow::AfterFirstFrame() {
  if (afterFirstFrameDone_) return;
  afterFirstFrameDone_ = true;
  lists_->FillFirstList();
  sound_.Load();  // so that the About box finds libcanberra loaded
}

ListsView& MainWindow::Lists() {
  return *lists_;
}

void MainWindow::StartVersionCheckIfWanted() {
  if (ws_.settings.check_version != 1 || ws_.busy()) return;
  const NetConfig config = NetConfigFromSettings(ws_.settings);
  const std::string page = DownloadPageUrl(config);
  StartVersionCheck(
      ws_.downloads, config, prompt_,
      [this, page] {
        QMetaObject::invokeMethod(
            this, [this, page] { OpenUrl(page); }, Qt::QueuedConnection);
      },
      [this] {
        QMetaObject::invokeMethod(
            this, [this] { UpdateMenuMarks(); }, Qt::QueuedConnection);
      });
  UpdateMenuMarks();
}

// ---- placement and exit ----

void MainWindow::ShowAtSavedPlace() {
  const auto& rc = ws_.settings.check_rc;
  // check_rc holds the client area's rectangle, without the window manager's frame, as the exit saves it.
  const QSize size = rc.right > 0 && rc.bottom > 0 ? QSize(rc.right, rc.bottom)
                                                   : QSize(1100, 760);  // the desktop gives no default size
  if (ws_.settings.check_window == 1) {
    setGeometry(QRect(QPoint(rc.left, rc.top), size));
  } else {
    resize(size);
  }
  if (ws_.settings.check_sizing == 3) {
    showMaximized();
  } else {
    show();
  }
}

void MainWindow::FinishJobs() {
  // A worker still running is asked to stop; until it has, its queued calls are served (a question
  // it asks is answered with its default), so it can end.
  prompt_.Close();
  if (ws_.downloads.jobThread.joinable()) ws_.downloads.jobThread.request_stop();
  if (ws_.downloads.allBrandsThread.joinable()) ws_.downloads.allBrandsThread.request_stop();
  while (ws_.busy() || ws_.downloads.allBrandsRunning) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
  }
  if (ws_.downloads.jobThread.joinable()) ws_.downloads.jobThread.join();
  if (ws_.downloads.allBrandsThread.joinable()) ws_.downloads.allBrandsThread.join();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (closed_) {
    e->accept();
    return;
  }
  // A memo that cannot be written keeps the window open unless the user lets it go.
  if (!ReadyToExit(ws_, prompt_)) {
    fetchBands_ = true;
    e->ignore();
    return;
  }
  closed_ = true;
  FinishJobs();
  if (fetchBands_) StoreBandRecords();
  if (registry_ != nullptr) {
    // The normal place of the client area, maximised or not: the start places the same rectangle.
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    ws_.settings.save(*registry_, key_,
                      WindowGeometry{normal.x(), normal.y(), normal.width(), normal.height()});
  }
  tray_->hide();
  e->accept();
  QCoreApplication::quit();
}

}  // namespace sorano
