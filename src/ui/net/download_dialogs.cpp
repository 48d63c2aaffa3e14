#include "ui/net/download_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace sorano {

namespace {

QString U(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

// ---- listener ----

QueuedDownloadListener::QueuedDownloadListener(QObject* context, Handlers handlers)
    : context_(context), handlers_(std::make_shared<const Handlers>(std::move(handlers))) {}

void QueuedDownloadListener::Post(std::function<void()> call) {
  QMetaObject::invokeMethod(context_, std::move(call), Qt::QueuedConnection);
}

void QueuedDownloadListener::OnProgress(int32_t code, int position) {
  Post([h = handlers_, code, position] {
    if (h->progress) h->progress(code, position);
  });
}

void QueuedDownloadListener::OnMessage(std::string_view utf8) {
  Post([h = handlers_, text = U(utf8)] {
    if (h->message) h->message(text);
  });
}

void QueuedDownloadListener::OnReloadSeries(int32_t code) {
  Post([h = handlers_, code] {
    if (h->reload) h->reload(code);
  });
}

void QueuedDownloadListener::OnTemporaryBar(int32_t code, int index, const ChartRecord& bar,
                                            const VolumeRecord& volume) {
  Post([h = handlers_, code, index, bar, volume] {
    if (h->temporaryBar) h->temporaryBar(code, index, bar, volume);
  });
}

void QueuedDownloadListener::OnStoreFailed(std::string_view utf8) {
  Post([h = handlers_, text = U(utf8)] {
    if (h->storeFailed) h->storeFailed(text);
  });
}

void QueuedDownloadListener::OnFinished(bool playSound, bool cancelled) {
  Post([h = handlers_, playSound, cancelled] {
    if (h->finished) h->finished(playSound, cancelled);
  });
}

// ---- progress dialog ----

ProgressDialog::ProgressDialog(int32_t code,
                               std::function<void(const std::function<void(std::string_view)>&)> cancel,
                               QWidget* parent)
    : QDialog(parent), cancel_(std::move(cancel)) {
  setObjectName("progressDialog");
  setModal(true);
  setWindowTitle(U(JobCaption(code)));
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(QStringLiteral("銘柄チャートデータダウンロード"), this);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  layout->addWidget(title);
  layout->addWidget(new QLabel(QStringLiteral("現在、ヤフーファイナスからダウンロード中です。"), this));
  layout->addWidget(new QLabel(QStringLiteral("途中で止めたい場合にのみ"), this));
  layout->addWidget(new QLabel(QStringLiteral("キャンセルボタンをクリックしてください。"), this));
  auto* button = new QPushButton(QStringLiteral("キャンセル"), this);
  button->setObjectName("cancelButton");
  layout->addWidget(button, 0, Qt::AlignHCenter);
  connect(button, &QPushButton::clicked, this, &ProgressDialog::reject);
}

void ProgressDialog::Finish() {
  finished_ = true;
  QDialog::accept();
}

void ProgressDialog::reject() {
  if (!finished_ && cancel_) {
    // The job stops between pages; until its thread has ended the caption says "待機".
    cancel_([this](std::string_view caption) {
      setWindowTitle(U(caption));
      repaint();
    });
  }
  finished_ = true;
  QDialog::reject();
}

// ---- all-brands dialog ----

AllBrandsDialog::AllBrandsDialog(StartFn start, CancelFn cancel, std::function<void()> playSound,
                                 std::function<void(const QString&)> showError, QWidget* parent)
    : QDialog(parent),
      start_(std::move(start)),
      cancel_(std::move(cancel)),
      playSound_(std::move(playSound)),
      showError_(std::move(showError)) {
  setObjectName("allBrandsDialog");
  setModal(true);
  setWindowTitle(QStringLiteral("ヤフーファイナンスからダウンロード"));
  auto* layout = new QVBoxLayout(this);

  auto* kinds = new QHBoxLayout;
  listData_ = new QCheckBox(QStringLiteral("リストデータ"), this);
  chartData_ = new QCheckBox(QStringLiteral("チャートデータ（時系列）"), this);
  listData_->setChecked(true);
  chartData_->setChecked(true);
  kinds->addWidget(listData_);
  kinds->addWidget(chartData_);
  layout->addLayout(kinds);

  full_ = new QRadioButton(QStringLiteral("完全初期化"), this);
  existing_ = new QRadioButton(QStringLiteral("既存初期化"), this);
  existing_->setChecked(true);
  layout->addWidget(full_);
  layout->addWidget(existing_);

  progress_ = new QProgressBar(this);
  progress_->setRange(0, kLastListedCode - kFirstListedCode);
  progress_->setValue(0);
  layout->addWidget(progress_);
  codeBox_ = new QLineEdit(this);
  codeBox_->setReadOnly(true);
  codeBox_->setObjectName("codeBox");
  layout->addWidget(codeBox_);

  auto* buttons = new QHBoxLayout;
  download_ = new QPushButton(QStringLiteral("ダウンロード"), this);
  auto* cancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
  buttons->addWidget(download_);
  buttons->addWidget(cancelButton);
  layout->addLayout(buttons);
  connect(download_, &QPushButton::clicked, this, &AllBrandsDialog::Start);
  connect(cancelButton, &QPushButton::clicked, this, &AllBrandsDialog::reject);
}

void AllBrandsDialog::Start() {
  download_->setEnabled(false);
  listData_->setEnabled(false);
  chartData_->setEnabled(false);
  full_->setEnabled(false);
  existing_->setEnabled(false);
  QPointer<AllBrandsDialog> self(this);
  QueuedDownloadListener::Handlers h;
  h.progress = [self](int32_t code, int position) {
    if (!self) return;
    self->codeBox_->setText(QString::number(code));
    if (position >= 0) self->progress_->setValue(position);
  };
  h.message = [self](const QString& text) {
    if (self) self->codeBox_->setText(text);
  };
  h.storeFailed = [self](const QString& text) {
    if (!self) return;
    self->codeBox_->setText(text);
    if (self->showError_) self->showError_(text);
  };
  h.finished = [self](bool playSound, bool cancelled) {
    if (!self || !self->running_) return;
    self->running_ = false;
    if (playSound && self->playSound_) self->playSound_();
    if (!cancelled) self->QDialog::accept();
  };
  auto listener = std::make_shared<QueuedDownloadListener>(this, std::move(h));
  running_ = start_(listData_->isChecked(), chartData_->isChecked(), full_->isChecked(), listener);
  if (!running_ && !listData_->isChecked() && !chartData_->isChecked()) {
    // Nothing was chosen to download: the choices stay open.
    for (QWidget* w : std::initializer_list<QWidget*>{download_, listData_, chartData_, full_, existing_}) {
      w->setEnabled(true);
    }
  }
}

void AllBrandsDialog::reject() {
  if (running_ && cancel_) {
    cancel_([this](std::string_view text) {
      codeBox_->setText(U(text));
      codeBox_->repaint();
    });
  }
  running_ = false;
  QDialog::reject();
}

// ---- period dialog ----

RangeDialog::RangeDialog(DownloadState& state, int32_t (&downloadday)[4], QWidget* parent)
    : QDialog(parent), state_(state), downloadday_(downloadday) {
  setObjectName("rangeDialog");
  setModal(true);
  setWindowTitle(QStringLiteral("選択銘柄の指定初期化"));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  const QString after[4] = {QStringLiteral("年"), QStringLiteral("月 ～"), QStringLiteral("年"),
                            QStringLiteral("月まで")};
  for (int i = 0; i < 4; ++i) {
    boxes_[i] = new QLineEdit(QString::fromStdString(RangeBoxText(downloadday_[i])), this);
    boxes_[i]->setMaxLength(4);
    boxes_[i]->setFixedWidth(56);
    boxes_[i]->setObjectName(QStringLiteral("rangeBox%1").arg(i));
    row->addWidget(boxes_[i]);
    row->addWidget(new QLabel(after[i], this));
  }
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &RangeDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &RangeDialog::reject);
}

void RangeDialog::accept() {
  int v[4];
  for (int i = 0; i < 4; ++i) v[i] = boxes_[i]->text().trimmed().toInt();  // not a number: 0
  if (!AcceptRange(state_, v[0], v[1], v[2], v[3])) return;                // the dialog stays open
  downloadday_[0] = state_.rangeFromYear;
  downloadday_[1] = state_.rangeFromMonth;
  downloadday_[2] = state_.rangeToYear;
  downloadday_[3] = state_.rangeToMonth;
  QDialog::accept();
}

}  // namespace sorano
