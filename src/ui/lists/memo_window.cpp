#include "ui/lists/memo_window.h"

#include "ui/gfx/qt_canvas.h"

namespace sorano {

MemoWindow::MemoWindow(const SettingsStore& settings, const QString& text, QWidget* parent)
    : QDialog(parent) {
  setObjectName("memoWindow");
  setWindowTitle(QStringLiteral("メモ"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  editor_ = new QPlainTextEdit(this);
  editor_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  editor_->setReadOnly(true);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont font(QtCanvas::MapFace(QStringLiteral("MS UI Gothic")));
  font.setPixelSize(std::max(6, static_cast<int>(settings.check_font_size)));
  editor_->setFont(font);
  editor_->setPlainText(text);
  // 150 x 65 dialog units of the system font.
  resize(300, 160);
}

void MemoWindow::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  editor_->setGeometry(rect());
}

}  // namespace sorano
