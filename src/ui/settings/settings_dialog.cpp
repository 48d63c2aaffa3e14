#include "ui/settings/settings_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "ui/app/qt_prompt.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano {
namespace {

QString U(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr int kColourColumns = 2;  // label and button pairs side by side

}  // namespace

ColourButton::ColourButton(QWidget* parent) : QPushButton(parent) {
  setFixedSize(48, 22);
}

void ColourButton::SetColour(int32_t colour) {
  colour_ = colour;
  update();
}

void ColourButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ToQColor(static_cast<Color>(colour_)));
  p.setPen(palette().color(QPalette::Shadow));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(3, 3, -3, -3);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
  }
}

SettingsDialog::SettingsDialog(SettingsSheet& sheet, QWidget* parent) : QDialog(parent), sheet_(sheet) {
  setObjectName("settingsDialog");
  setWindowTitle(QStringLiteral("環境設定"));
  fields_.resize(SheetFields().size(), nullptr);
  boxes_.resize(SheetCheckBoxes().size(), nullptr);
  colours_.resize(SheetColourFamilies().size());

  tabs_ = new QTabWidget(this);
  tabs_->setUsesScrollButtons(false);  // all eight captions in view
  for (int page = 0; page < static_cast<int>(kSheetPageCaptions.size()); ++page)
    tabs_->addTab(BuildPage(page), U(kSheetPageCaptions[static_cast<size_t>(page)]));

  // OK and Cancel only: the sheet has no apply button and no help button.
  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok_->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
}

QWidget* SettingsDialog::BuildPage(int page) {
  auto* w = new QWidget;
  auto* layout = new QVBoxLayout(w);

  const auto families = SheetColourFamilies();
  for (size_t f = 0; f < families.size(); ++f) {
    if (families[f].page != page) continue;
    auto* grid = new QGridLayout;
    for (size_t e = 0; e < families[f].labels.size(); ++e) {
      auto* button = new ColourButton(w);
      button->setObjectName(QStringLiteral("colour_%1_%2").arg(f).arg(e));
      button->SetColour(sheet_.Colour(f, e));
      connect(button, &QPushButton::clicked, this, [this, f, e] { ChooseColour(f, e); });
      colours_[f].push_back(button);
      const int row = static_cast<int>(e) / kColourColumns;
      const int column = static_cast<int>(e) % kColourColumns * 2;
      grid->addWidget(new QLabel(U(families[f].labels[e]), w), row, column);
      grid->addWidget(button, row, column + 1);
    }
    grid->setColumnStretch(kColourColumns * 2, 1);
    layout->addLayout(grid);
  }

  if (page == sheet_page::kList) {
    auto* row = new QHBoxLayout;
    auto* button = new QPushButton(QStringLiteral("フォント設定..."), w);
    connect(button, &QPushButton::clicked, this, &SettingsDialog::ChooseFont);
    font_ = new QLabel(w);
    font_->setObjectName("fontName");
    ShowFont();
    row->addWidget(button);
    row->addWidget(font_, 1);
    layout->addLayout(row);
  }

  const auto fields = SheetFields();
  auto* grid = new QGridLayout;
  std::vector<std::pair<QHBoxLayout*, bool>> rows;  // the boxes of each row; numbers keep to the left
  for (size_t i = 0; i < fields.size(); ++i) {
    const SheetField& f = fields[i];
    if (f.page != page) continue;
    const bool number = f.rule != FieldRule::kText && f.rule != FieldRule::kFolder;
    if (!f.label.empty() || rows.empty()) {
      const int row = static_cast<int>(rows.size());
      grid->addWidget(new QLabel(U(f.label), w), row, 0);
      rows.emplace_back(new QHBoxLayout, number);
      grid->addLayout(rows.back().first, row, 1);
    }
    QHBoxLayout* boxes = rows.back().first;
    auto* edit = new QLineEdit(QString::fromUtf8(sheet_.Text(i)), w);
    edit->setObjectName(QString::fromUtf8(f.name));
    if (number) {
      edit->setFixedWidth(64);
    } else if (f.rule == FieldRule::kText) {
      edit->setMaxLength(static_cast<int>(f.width) - 1);  // a longer text would be cut on OK anyway
    }
    // The folder has no length limit here: a path too long is refused on OK, never cut.
    if (f.tool == FieldTool::kSecret) edit->setEchoMode(QLineEdit::Password);
    connect(edit, &QLineEdit::textChanged, this,
            [this, i](const QString& text) { sheet_.SetText(i, text.toUtf8().toStdString()); });
    fields_[i] = edit;
    boxes->addWidget(edit, number ? 0 : 1);
    if (!f.unit.empty()) boxes->addWidget(new QLabel(U(f.unit), w));
    if (f.tool == FieldTool::kFolderBrowser || f.tool == FieldTool::kEditorBrowser) {
      auto* browse = new QPushButton(
          f.tool == FieldTool::kFolderBrowser ? QStringLiteral("参照") : QStringLiteral("..."), w);
      connect(browse, &QPushButton::clicked, this, [this, i] { Browse(i); });
      boxes->addWidget(browse);
    }
  }
  for (auto& [boxes, number] : rows)
    if (number) boxes->addStretch(1);
  layout->addLayout(grid);

  const auto boxes = SheetCheckBoxes();
  for (size_t i = 0; i < boxes.size(); ++i) {
    if (boxes[i].page != page) continue;
    auto* box = new QCheckBox(U(boxes[i].label), w);
    box->setObjectName(QString::fromUtf8(boxes[i].name));
    box->setChecked(sheet_.Checked(i));
    connect(box, &QCheckBox::toggled, this, [this, i](bool on) { sheet_.SetChecked(i, on); });
    boxes_[i] = box;
    layout->addWidget(box);
  }

  if (const std::string_view note = SheetPageNote(page); !note.empty()) {
    auto* label = new QLabel(U(note), w);
    label->setWordWrap(true);
    layout->addWidget(label);
  }
  layout->addStretch(1);
  return w;
}

void SettingsDialog::ChooseColour(size_t family, size_t element) {
  // The chooser starts at the element's colour; of the custom colours the first is that colour, the
  // rest white.
  const QColor current = ToQColor(static_cast<Color>(sheet_.Colour(family, element)));
  QColorDialog::setCustomColor(0, current);
  for (int i = 1; i < QColorDialog::customCount(); ++i) QColorDialog::setCustomColor(i, Qt::white);
  const QColor chosen = QColorDialog::getColor(current, this, QStringLiteral("色の設定"));
  if (!chosen.isValid()) return;
  const int32_t colour = static_cast<int32_t>(Rgb(chosen.red(), chosen.green(), chosen.blue()));
  sheet_.SetColour(family, element, colour);
  colours_[family][element]->SetColour(colour);
}

void SettingsDialog::ChooseFont() {
  QFont initial(QtCanvas::MapFace(QString::fromUtf8(sheet_.FontFace())));
  initial.setPixelSize(std::max(1, sheet_.FontHeight()));
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, this, QStringLiteral("フォント"));
  if (!ok) return;
  // The store keeps the character height in pixels; the chooser may answer in points.
  const int pixels = font.pixelSize() > 0
                         ? font.pixelSize()
                         : static_cast<int>(std::lround(font.pointSizeF() * logicalDpiY() / 72.0));
  sheet_.SetFont(font.family().toUtf8().toStdString(), std::max(1, pixels));
  ShowFont();
}

void SettingsDialog::ShowFont() {
  font_->setText(
      QStringLiteral("%1  %2 ピクセル").arg(QString::fromUtf8(sheet_.FontFace())).arg(sheet_.FontHeight()));
}

void SettingsDialog::Browse(size_t field) {
  QLineEdit* edit = fields_[field];
  if (SheetFields()[field].tool == FieldTool::kFolderBrowser) {
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("保管場所フォルダの指定"),
                                                             edit->text(), QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty()) edit->setText(folder.endsWith('/') ? folder : folder + '/');
  } else {
    // Programs on Linux carry no extension; the chooser asks for an existing file of any name.
    const QString program = QFileDialog::getOpenFileName(this, QStringLiteral("エディタの選択"), edit->text(),
                                                         QStringLiteral("すべて (*)"));
    if (!program.isEmpty()) edit->setText(program);
  }
}

void SettingsDialog::accept() {
  if (const std::optional<SheetProblem> problem = sheet_.Check()) {
    tabs_->setCurrentIndex(SheetFields()[problem->field].page);
    QtPrompt(this).Message(problem->message, "エラー", PromptIcon::Warning);
    fields_[problem->field]->setFocus();
    return;
  }
  QDialog::accept();
}

bool SettingsSheetRunner::RunSettingsSheet(SettingsSheet& sheet) {
  SettingsDialog dialog(sheet, owner_);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace sorano
