#include "ui/search/search_band.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "core/app/command_handler.h"
#include "core/app/search_area.h"

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
  connect(codeBox_, &QLineEdit::textEdited, this, &SearchBand::CodeEdited);
  connect(codeBox_, &QLineEdit::returnPressed, this, [this] { CodeEdited(codeBox_->text()); });
  connect(nameBox_, &QLineEdit::returnPressed, this, &SearchBand::SearchName);
  connect(button_, &QPushButton::clicked, this, &SearchBand::SearchName);
  addWidget(codeBox_);
  addWidget(nameBox_);
  addWidget(button_);
}

void SearchBand::CodeEdited(const QString& text) {
  if (CodeBoxChanged(ws_, shell_, prompt_, text.toStdString())) shell_.UpdateMenuMarks();
}

void SearchBand::SearchName() {
  NameSearch(ws_, shell_, prompt_, nameBox_->text().toStdString());
  shell_.UpdateMenuMarks();
}

}  // namespace sorano
