#pragma once
// The dialogs of the download jobs: the modal progress dialog of a single-brand job, the all-brands
// dialog and the period dialog of 選択銘柄のチャート指定初期化. The jobs themselves are core/net's; these
// only show what the worker reports (on the UI thread, see QueuedDownloadListener) and pass the
// user's choices and cancel on.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

#include "core/net/download_job.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace sorano {

// The worker calls the listener on its own thread; this one hands every call to the UI thread (a
// queued call on context) and never waits for it. context must outlive the job: the owner joins the
// job's thread before it goes.
class QueuedDownloadListener : public DownloadListener {
 public:
  struct Handlers {
    std::function<void(int32_t code, int position)> progress;
    std::function<void(const QString& text)> message;
    std::function<void(int32_t code)> reload;
    std::function<void(int32_t code, int index, const ChartRecord& bar, const VolumeRecord& volume)>
        temporaryBar;
    std::function<void(const QString& text)> storeFailed;
    std::function<void(bool playSound, bool cancelled)> finished;
  };
  QueuedDownloadListener(QObject* context, Handlers handlers);

  void OnProgress(int32_t code, int position) override;
  void OnMessage(std::string_view utf8) override;
  void OnReloadSeries(int32_t code) override;
  void OnTemporaryBar(int32_t code, int index, const ChartRecord& bar, const VolumeRecord& volume) override;
  void OnStoreFailed(std::string_view utf8) override;
  void OnFinished(bool playSound, bool cancelled) override;

 private:
  void Post(std::function<void()> call);
  QObject* context_;
  std::shared_ptr<const Handlers> handlers_;
};

// "銘柄チャートデータダウンロード": modal while a single-brand job runs. Its caption is "%d - %s" with the
// code and "ダウンロード中"; キャンセル (or closing it) stops the job through cancel, which shows
// "待機" and then "終了" as the caption. The job closes it with Finish().
class ProgressDialog : public QDialog {
  Q_OBJECT
 public:
  ProgressDialog(int32_t code, std::function<void(const std::function<void(std::string_view)>&)> cancel,
                 QWidget* parent = nullptr);
  void Finish();

 protected:
  void reject() override;

 private:
  std::function<void(const std::function<void(std::string_view)>&)> cancel_;
  bool finished_ = false;
};

// "ヤフーファイナンスからダウンロード": the all-brands job with its check boxes, radio buttons, progress
// bar and code box. start is called with (list data, chart data, 完全初期化) and returns the listener's
// owner's answer; cancel stops a running job (showing its texts in the code box); showError tells the
// user that the job could not store its data.
class AllBrandsDialog : public QDialog {
  Q_OBJECT
 public:
  using StartFn = std::function<bool(bool listData, bool chartData, bool fullInitialise,
                                     std::shared_ptr<DownloadListener> listener)>;
  using CancelFn = std::function<void(const std::function<void(std::string_view)>& showText)>;
  AllBrandsDialog(StartFn start, CancelFn cancel, std::function<void()> playSound,
                  std::function<void(const QString&)> showError, QWidget* parent = nullptr);

  QLineEdit* codeBox() const { return codeBox_; }

 protected:
  void reject() override;

 private:
  void Start();

  StartFn start_;
  CancelFn cancel_;
  std::function<void()> playSound_;
  std::function<void(const QString&)> showError_;
  QProgressBar* progress_;
  QLineEdit* codeBox_;
  QCheckBox* listData_;
  QCheckBox* chartData_;
  QRadioButton* full_;
  QRadioButton* existing_;
  QPushButton* download_;
  bool running_ = false;
};

// "選択銘柄の指定初期化": the period of 32970, filled from check_downloadday00..03 (a 0 leaves a box
// empty). OK closes it only when AcceptRange takes the values; the settings then get them too.
class RangeDialog : public QDialog {
  Q_OBJECT
 public:
  RangeDialog(DownloadState& state, int32_t (&downloadday)[4], QWidget* parent = nullptr);
  void accept() override;

 private:
  DownloadState& state_;
  int32_t (&downloadday_)[4];
  QLineEdit* boxes_[4];
};

}  // namespace sorano
