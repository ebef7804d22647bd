// Go over lists that use the media module: run off the window's thread,
// with progress, Cancel, and one message for the pictures it could not read.
// GLib's headers name a member `signals`, which Qt makes a keyword: before Qt.
#include "support/made_pictures.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include <QProgressBar>
#include <QProgressDialog>

#include "app/background_go.h"
#include "support/window_fixture.h"

namespace tabulon {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kWaitMs = 20000;

class ThumbnailGoTest : public test::WindowTest {
protected:
    // Opens the window over pictures made in the test's folder, with a
    // thumbnail in each entry.
    void openOver(const QStringList& names) {
        open();
        QStringList paths;
        for (const QString& name : names) {
            paths << QString::fromStdString(files / name.toStdString());
            EXPECT_TRUE(test::makePicture(paths.back().toStdString(), 200, 100));
        }
        select(paths);
        templateBox("cbTextNewEntry")
            ->setEditText(u"<td>{{THUMB(64)}} {{THUMBWIDTH(64)}}x{{THUMBHEIGHT(64)}}</td>"_s);
    }
    BackgroundGo& go() const { return *control("cmdGo")->window()->findChild<BackgroundGo*>(); }
    // Holds the run after each entry until released or cancelled.
    void holdEachEntry() {
        BackgroundGo* run = &go();
        run->setEntryHook([this, run] {
            while (!released && !run->cancelled())
                std::this_thread::sleep_for(1ms);
        });
    }
    QProgressDialog* progress() const { return control("cmdGo")->window()->findChild<QProgressDialog*>(); }

    std::atomic<bool> released{false}; // lets held runs go on
};

TEST_F(ThumbnailGoTest, GoNamesTheThumbnailsAndListsThePicturesItCouldNotReadInOneMessage) {
    openOver({u"a.jpg"_s, u"cut.jpg"_s, u"empty.jpg"_s});
    files.write("cut.jpg", test::readAll(files / "a.jpg").substr(0, 100));
    files.write("empty.jpg", "");
    click("cmdGo");
    ASSERT_TRUE(waitForGo());
    const QString folder = QString::fromStdString(files.path().string());
    EXPECT_TRUE(result().contains(u"<td>%1/thumbs/a.jpg-64.jpg 64x32</td>"_s.arg(folder)))
        << result().toStdString();
    ASSERT_EQ(dialogs.messages.size(), 1) << dialogs.messages.join(u'|').toStdString();
    EXPECT_TRUE(dialogs.messages[0].contains(folder + u"/cut.jpg"_s));
    EXPECT_TRUE(dialogs.messages[0].contains(folder + u"/empty.jpg"_s));
    EXPECT_EQ(QApplication::focusWidget(), control("cmdCopy"));
}

// Both the plain Go and the one in the background write a loaded new-folder
// text and leave out files without a size, until a configuration without them is loaded.
TEST_F(ThumbnailGoTest, ALoadedConfigurationsExtraKeysReachEveryGoUntilAnotherIsLoaded) {
    open();
    fs::create_directories(files / "a");
    fs::create_directories(files / "b");
    ASSERT_TRUE(test::makePicture(files / "a/p.jpg", 16, 8));
    ASSERT_TRUE(test::makePicture(files / "b/q.jpg", 16, 8));
    // The file without a size comes between the others, where leaving it out shows.
    select({QString::fromStdString(files / "a/p.jpg"), QString::fromStdString(files.write("b/e.jpg", "")),
            QString::fromStdString(files / "b/q.jpg")});
    const std::string keys = "txtWidth=9\ncbTextEndEntry=;\ncbTextNewEntry={{BASE}} ";
    const std::string extras = "\nNewFolder=[{{FOLDERNAME}}]\nLeaveOutUnsized=1\n";
    const struct {
        std::string keys;
        const char* expected;
        qsizetype messages; // the files left out, in one
    } cases[] = {
        {keys + "{{WIDTH}}x{{HEIGHT}}" + extras, "[a]p 16x8;[b]q 16x8;", 1},
        // An empty metadata field sends Go to the background; a thumbnail would
        // leave the unreadable file out whatever the configuration says.
        {keys + "{{WIDTH}}x{{HEIGHT}}{{META(Xmp.dc.title)}}" + extras, "[a]p 16x8;[b]q 16x8;", 1},
        {keys + "{{WIDTH}}x{{HEIGHT}}\n", "p 16x8;e x;q 16x8;", 0},
    };
    for (const auto& c : cases) {
        dialogs.configPaths = {configuration("set.ini", c.keys)};
        click("cmdLoadConfig");
        click("cmdGo");
        ASSERT_TRUE(waitForGo());
        EXPECT_TRUE(result().contains(QString::fromLatin1(c.expected))) << result().toStdString();
        EXPECT_EQ(dialogs.messages.size(), c.messages) << dialogs.messages.join(u'|').toStdString();
        dialogs.messages.clear();
    }
}

TEST_F(ThumbnailGoTest, AThumbnailFolderThatCannotBeMadeIsReportedAndChangesNothing) {
    openOver({u"a.jpg"_s});
    files.write("thumbs", "not a folder");
    const QString before = result();
    click("cmdGo");
    ASSERT_TRUE(waitForGo());
    EXPECT_EQ(result(), before);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].endsWith(u"/thumbs: Not a directory"_s))
        << dialogs.messages.join(u'|').toStdString();
}

TEST_F(ThumbnailGoTest, CancelLeavesTheResultAsItWasAndTheThumbnailsMade) {
    openOver({u"a.jpg"_s, u"b.jpg"_s});
    control<QPlainTextEdit>("txtResult")->setPlainText(u"before"_s);
    holdEachEntry();
    click("cmdGo");
    // After half a second, the count of entries written.
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return progress() != nullptr && progress()->isVisible(); }, kWaitMs));
    auto* bar = progress()->findChild<QProgressBar*>();
    EXPECT_TRUE(QTest::qWaitFor([bar] { return bar->text() == u"1 of 2"_s; }, kWaitMs))
        << bar->text().toStdString();
    EXPECT_TRUE(progress()->isModal());
    QTest::mouseClick(progress()->findChild<QPushButton*>(), Qt::LeftButton);
    ASSERT_TRUE(waitForGo());
    EXPECT_EQ(result(), u"before"_s);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'|').toStdString();
    EXPECT_TRUE(fs::is_regular_file(files / "thumbs/a.jpg-64.jpg"));

    // The next Go runs whole.
    released = true;
    click("cmdGo");
    ASSERT_TRUE(waitForGo());
    EXPECT_TRUE(result().contains(u"/thumbs/b.jpg-64.jpg 64x32"_s)) << result().toStdString();
}

TEST_F(ThumbnailGoTest, ClosingTheWindowDuringARunStopsIt) {
    openOver({u"a.jpg"_s, u"b.jpg"_s});
    holdEachEntry();
    click("cmdGo");
    ASSERT_TRUE(QTest::qWaitFor([this] { return go().cancelled() || progress() != nullptr; }, kWaitMs));
    close();
    QTest::qWait(50); // nothing of the run arrives later
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'|').toStdString();
}

} // namespace
} // namespace tabulon
