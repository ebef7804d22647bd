#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/design.h"
#include "app/preview_window.h"
#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

void drop(QWidget* target, const QMimeData& data, QPoint at = QPoint(300, 100)) {
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

void drop(QWidget* target, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    drop(target, data);
}

TEST_F(WindowTest, DroppedFilesBecomeTheSelectionLikeAChoiceInTheDialog) {
    FrmConfig& window = open();
    const std::string a = files.write("a.jpg", "x");
    const std::string b = files.write("b.jpg", "x");
    std::filesystem::create_directories(files / "other");
    const std::string c = files.write("other/c.jpg", "x");
    // Nor are the thumbnails in a folder Tabulon made.
    std::filesystem::create_directories(files / "thumbs");
    files.write("thumbs/CACHEDIR.TAG",
                "Signature: 8a477f597d28d172789f06886806bc55\n# Thumbnails made by Tabulon\n");
    const std::string thumb = files.write("thumbs/a.jpg-240.jpg", "x");
    drop(&window, {QString::fromStdString(a), QString::fromStdString(b),
                   QString::fromStdString(files / "other"), QString::fromStdString(thumb)});
    EXPECT_EQ(window.selection(), files.path().string() + '\0' + "a.jpg" + '\0' + "b.jpg");
    EXPECT_TRUE(control("cmdGo")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), control("cmdGo"));

    // Dropped on the result box, where a text drop would land, files still select.
    auto* result = control<QPlainTextEdit>("txtResult");
    result->clear();
    drop(result->viewport(), {QString::fromStdString(a), QString::fromStdString(c)});
    EXPECT_EQ(window.selection(), std::string(1, '\0') + a + '\0' + c);
    EXPECT_EQ(result->toPlainText(), QString());
}

TEST_F(WindowTest, ThePreviewShowsTheResultBesideTheWindowWhollyOnItsScreenAndFollowsIt) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size(design::pixels(design::kClientWidth), design::pixels(design::kClientHeight));
    // Room beside the window, and none to the right nor below.
    const QPoint places[] = {screen.topLeft(),
                             screen.bottomRight() - QPoint(size.width() + 10, size.height() + 10)};
    PreviewWindow* preview = nullptr;
    for (const QPoint& place : places) {
        store(u"frmConfig"_s, u"left"_s, QString::number(design::twips(place.x())));
        store(u"frmConfig"_s, u"top"_s, QString::number(design::twips(place.y())));
        FrmConfig& window = open();
        ASSERT_EQ(window.pos(), place);
        control<QPlainTextEdit>("txtResult")->setPlainText(u"<b>a</b>"_s);
        click("cmdPreview");
        preview = window.findChild<PreviewWindow*>(u"frmPreview"_s);
        ASSERT_NE(preview, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(preview));
        EXPECT_EQ(preview->shownHtml(), u"<b>a</b>"_s);
        EXPECT_TRUE(window.isVisible()); // the window stays usable beside it
        const QRect frame = preview->frameGeometry();
        // To the right of the window, top edges level, as far as the screen allows.
        const QRect beside = window.frameGeometry();
        EXPECT_EQ(frame.left(), std::min(beside.right() + 1, screen.right() + 1 - frame.width()));
        EXPECT_EQ(frame.top(), std::min(beside.top(), screen.bottom() + 1 - frame.height()));
    }
    control<QPlainTextEdit>("txtResult")->setPlainText(u"<b>edited</b>"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return preview->shownHtml() == u"<b>edited</b>"_s; }, 3000));
}

// A folder among dropped files is skipped above; a text is the box's own.
TEST_F(WindowTest, TextDraggedOntoABoxIsLeftToTheBox) {
    FrmConfig& window = open();
    QMimeData data;
    data.setText(QString::fromStdString(files.write("a.jpg", "x")));
    drop(control("txtWidth"), data, QPoint(5, 5));
    EXPECT_FALSE(control("cmdGo")->isEnabled());
    EXPECT_EQ(window.selection(), std::string());
}

} // namespace
} // namespace tabulon
