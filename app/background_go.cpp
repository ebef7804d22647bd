#include "app/background_go.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <new>
#include <utility>

#include <QProgressBar>
#include <QProgressDialog>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "listgen/entry_processor.h"
#include "listgen/list_assembly.h"
#include "listgen/thumbnail_workers.h"
#include "selection/dialogs.h"

namespace tabulon {

namespace {

constexpr int kTickMs = 100;
constexpr qint64 kQuietMs = 500; // a run shorter than this shows no progress

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void BackgroundGo::showPictureNotes(QWidget* window, Dialogs& dialogs,
                                    const std::vector<std::string>& notes) {
    if (notes.empty())
        return;
    QStringList lines;
    for (const std::string& note : notes)
        lines << fromUtf8(note);
    dialogs.showMessage(window,
                        tr("Not every picture went into the list as it is:\n%1").arg(lines.join(u'\n')));
}

BackgroundGo::BackgroundGo(QWidget* window, Dialogs& dialogs, std::function<void(std::string)> show)
    : QObject(window), window_(window), dialogs_(dialogs), show_(std::move(show)), ticks_(new QTimer(this)) {
    ticks_->setInterval(kTickMs);
    connect(ticks_, &QTimer::timeout, this, &BackgroundGo::tick);
}

BackgroundGo::~BackgroundGo() {
    stop();
}

void BackgroundGo::start(const TemplateSet& set, std::uint32_t width, const std::string& selection,
                         ListOptions options) {
    if (running())
        return;
    cancel_ = false;
    written_ = 0;
    total_ = static_cast<std::int64_t>(countSelectedFiles(selection));
    started_.start();
    ticks_->start();
    thread_ = std::thread(&BackgroundGo::run, this, set, width, selection, std::move(options), ++runId_);
}

void BackgroundGo::run(TemplateSet set, std::uint32_t width, std::string selection, ListOptions options,
                       int id) {
    warnings_.clear();
    result_.clear();
    try {
        const EntryTemplate entry(set.newEntry, set.endEntry);
        if (const Result<void, std::string> ready = media_.prepare(entry.usesThumbnailsOnly()); !ready.ok()) {
            // Never read unsandboxed behind the user's back.
            ending_ = media_.noSandbox() ? Ending::NoSandbox : Ending::MediaMissing;
            reason_ = media_.noSandbox() ? ready.error().substr(kNoSandbox.size()) : ready.error();
        } else {
            StringSink sink;
            const auto note = [this](const std::string& warning) { warnings_.push_back(warning); };
            options.media.emplace(MediaUse{media_, ThumbnailRules{}, defaultThumbnailWorkers(), note});
            options.progress = {&cancel_, [this](std::int64_t count) {
                                    written_.store(count, std::memory_order_relaxed);
                                    if (entryHook_)
                                        entryHook_();
                                }};
            options.leaveOut.warn = note;
            generateList(set, width, selection, sink, std::move(options));
            result_ = sink.take();
            ending_ = Ending::Done;
        }
    } catch (const ListCancelled&) {
        ending_ = Ending::Cancelled;
    } catch (const std::bad_alloc&) {
        ending_ = Ending::NoMemory;
    } catch (const std::exception& failure) { // a ThumbnailFailure, or workers that could not start
        ending_ = Ending::Failed;
        reason_ = failure.what();
    }
    QMetaObject::invokeMethod(
        this,
        [this, id] {
            if (id == runId_)
                collect();
        },
        Qt::QueuedConnection);
}

void BackgroundGo::tick() {
    if (!progress_ && !cancel_ && started_.elapsed() >= kQuietMs) {
        progress_ = new QProgressDialog(tr("Making the list…"), tr("Cancel"), 0, 0, window_);
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(0);
        // The bar is set directly: the dialog's own setValue runs the event loop.
        bar_ = new QProgressBar(progress_);
        bar_->setRange(0, static_cast<int>(std::min<std::int64_t>(total_, INT_MAX)));
        bar_->setFormat(tr("%v of %m"));
        progress_->setBar(bar_);
        connect(progress_, &QProgressDialog::canceled, this, &BackgroundGo::cancel);
        connect(progress_, &QDialog::rejected, this, &BackgroundGo::cancel);
        progress_->show();
    }
    if (progress_)
        bar_->setValue(static_cast<int>(std::min<std::int64_t>(written_.load(), INT_MAX)));
}

void BackgroundGo::stop() {
    cancel_ = true;
    collect();
}

void BackgroundGo::collect() {
    if (!thread_.joinable())
        return; // stopped already
    thread_.join();
    ticks_->stop();
    if (progress_) {
        delete progress_;
        // The dialog had the focus: the result's buttons get it back, as after a quick run.
        if (window_)
            window_->activateWindow();
    }
    if (cancel_)
        return; // even a run that ended meanwhile: the user no longer wants it
    switch (ending_) {
    case Ending::Done:
        show_(std::move(result_));
        showPictureNotes(window_, dialogs_, warnings_);
        return;
    case Ending::Cancelled:
        return;
    case Ending::MediaMissing:
        dialogs_.showMessage(
            window_, tr("Thumbnails and photo metadata need the media module: %1").arg(fromUtf8(reason_)));
        return;
    case Ending::NoSandbox:
        dialogs_.showMessage(window_,
                             tr("Pictures are read only in a sandbox, and this system gives none, so "
                                "thumbnails and photo metadata cannot be made: %1")
                                 .arg(fromUtf8(reason_)));
        return;
    case Ending::Failed:
        dialogs_.showMessage(window_, tr("The list was not made: %1").arg(fromUtf8(reason_)));
        return;
    case Ending::NoMemory:
        dialogs_.showMessage(window_, tr("There is not enough memory for this list."));
        return;
    }
}

} // namespace tabulon
