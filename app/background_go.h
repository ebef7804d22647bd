#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include "base/template_set.h"
#include "listgen/entry_processor.h"
#include "listgen/media.h"
#include "listgen/thumbnail_workers.h"

class QProgressBar;
class QProgressDialog;
class QTimer;
class QWidget;

namespace tabulon {

class Dialogs;

// A Go whose templates use the media module, run off the window's thread:
// thumbnails take seconds where a list of names takes milliseconds. After
// half a second a progress dialog, modal to the window, counts the entries
// and offers Cancel. A cancelled run shows nothing; thumbnails made so far stay.
class BackgroundGo : public QObject {
    Q_OBJECT
public:
    // `show` puts a finished list in the result box. A child of `window`.
    BackgroundGo(QWidget* window, Dialogs& dialogs, std::function<void(std::string)> show);
    ~BackgroundGo() override; // stops a run first

    bool running() const { return thread_.joinable(); }
    // Runs the list of `set` over `selection`; only when none is running.
    // `width` is the set's checked width. The run gives `options` its media,
    // its progress and where its warnings go.
    void start(const TemplateSet& set, std::uint32_t width, const std::string& selection,
               ListOptions options = {});
    // Cancels a run and waits for it to end (the thumbnails being made are
    // finished); nothing of it is shown.
    void stop();

    // Shows, in one message, what a Go said of single pictures: those left
    // out and those damaged; nothing when it said nothing.
    static void showPictureNotes(QWidget* window, Dialogs& dialogs, const std::vector<std::string>& notes);

    // For tests: called on the run's thread after each entry written.
    void setEntryHook(std::function<void()> hook) { entryHook_ = std::move(hook); }
    bool cancelled() const { return cancel_.load(); }

private:
    enum class Ending { Done, Cancelled, MediaMissing, NoSandbox, Failed, NoMemory };
    void run(TemplateSet set, std::uint32_t width, std::string selection, ListOptions options, int id);
    void cancel() { cancel_.store(true); }
    void tick();
    void collect();

    QWidget* window_;
    Dialogs& dialogs_;
    std::function<void(std::string)> show_;
    Media media_{DecoderLimits{
        .workers = defaultThumbnailWorkers()}}; // started once, kept for the window's later lists
    std::thread thread_;
    int runId_ = 0; // so that a run stopped already is not collected again
    std::atomic<bool> cancel_{false};
    std::atomic<std::int64_t> written_{0};
    std::int64_t total_ = 0;
    std::function<void()> entryHook_;
    QTimer* ticks_;
    QElapsedTimer started_;
    QPointer<QProgressDialog> progress_;
    QProgressBar* bar_ = nullptr;

    // Written by the run's thread before it ends, read once it has.
    Ending ending_ = Ending::Done;
    std::string result_;
    std::string reason_;
    std::vector<std::string> warnings_;
};

} // namespace tabulon
