#include "ui/search/search_band.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>

#include "core/app/command_handler.h"
#include "core/app/search_area.h"
#include "ui/search/search_dialogs.h"

namespace sorano {

SearchBand::SearchBand(Workspace& ws, Shell& shell, Prompt& prompt, QWidget* parent)
    : QToolBar(QStringLiteral("検索"), parent), ws_(ws), shell_(shell), prompt_(prompt) {
  setObjectName("band2");
  codeBox_ = new QLineEdit(this);
  codeBox_->setObjectName("codeBox");
  codeBox_->setMaxLength(4);
  codeBox_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,4}"), codeBox_));
  codeBox_->setFixedWidth(50);
  codeBox_->setToolTip(QStringLiteral("コード検索"));
  nameBox_ = new QLineEdit(this);
  nameBox_->setObjectName("nameBox");
  nameBox_->setFixedWidth(100);
  nameBox_->setToolTip(QStringLiteral("銘柄名検索"));
  button_ = new QPushButton(QStringLiteral("検索"), this);
  button_->setObjectName("searchButton");
  button_->setToolTip(QStringLiteral("銘柄名検索"));
  codeBox_->installEventFilter(this);
  connect(codeBox_, &QLineEdit::textEdited, this, &SearchBand::CodeEdited);
  connect(codeBox_, &QLineEdit::returnPressed, this, [this] { CodeEdited(codeBox_->text()); });
  connect(nameBox_, &QLineEdit::returnPressed, this, &SearchBand::SearchName);
  connect(button_, &QPushButton::clicked, this, &SearchBand::SearchName);
  addWidget(codeBox_);
  addWidget(nameBox_);
  addWidget(button_);
  ShowCode(CodeBoxText(ws_.code()));
}

std::optional<SearchBoxes> SearchBand::RunSearchDialog() {
  SearchDialog dialog(window());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.boxes();
}

bool SearchBand::RunScreeningDialog(ScreeningSelections& selections) {
  ScreeningDialog dialog(selections, window());
  if (dialog.exec() != QDialog::Accepted) return false;
  selections = dialog.selections();
  return true;
}

bool SearchBand::eventFilter(QObject* watched, QEvent* event) {
  // The box is full with the shown brand's four digits: whatever way it gets the focus, its text is
  // selected, so the next code typed replaces it. After the click that gave the focus has placed the
  // cursor, hence the zero-time timer.
  if (watched == codeBox_ && event->type() == QEvent::FocusIn)
    QTimer::singleShot(0, codeBox_, &QLineEdit::selectAll);
  return QToolBar::eventFilter(watched, event);
}

void SearchBand::ShowCode(std::string_view text) {
  // setText sends no textEdited, so showing a code runs no code search.
  codeBox_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void SearchBand::CodeEdited(const QString& text) {
  if (CodeBoxChanged(ws_, shell_, prompt_, text.toStdString())) shell_.UpdateMenuMarks();
}

void SearchBand::SearchName() {
  NameSearch(ws_, shell_, prompt_, nameBox_->text().toStdString());
  shell_.UpdateMenuMarks();
}

}  // namespace sorano
