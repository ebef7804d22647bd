#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/design.h"
#include "app/preview_window.h"
#include "window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

void Drop(QWidget* window, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(300, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDropEvent drop(QPointF(300, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
}

TEST_F(WindowTest, DroppedFilesBecomeTheSelectionLikeAChoiceInTheDialog) {
    FrmConfig& window = Open();
    const std::string a = files.Write("a.jpg", "x");
    const std::string b = files.Write("b.jpg", "x");
    std::filesystem::create_directories(files / "other");
    const std::string c = files.Write("other/c.jpg", "x");
    Drop(&window,
         {QString::fromStdString(a), QString::fromStdString(b), QString::fromStdString(files / "other")});
    EXPECT_EQ(window.selection(), files.path().string() + '\0' + "a.jpg" + '\0' + "b.jpg");
    EXPECT_TRUE(Control("cmdGo")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Control("cmdGo"));

    // Dropped on the result box, where a text drop would land, files still select.
    auto* result = Control<QPlainTextEdit>("txtResult");
    result->clear();
    Drop(result->viewport(), {QString::fromStdString(a), QString::fromStdString(c)});
    EXPECT_EQ(window.selection(), std::string(1, '\0') + a + '\0' + c);
    EXPECT_EQ(result->toPlainText(), QString());
}

TEST_F(WindowTest, DroppedNamesWithABackslashStayWhole) {
    FrmConfig& window = Open();
    const std::string a = files.Write("x\\a.jpg", "x");
    const std::string b = files.Write("x\\b.jpg", "x");
    Drop(&window, {QString::fromStdString(a), QString::fromStdString(b)});
    EXPECT_EQ(window.selection(), files.path().string() + '\0' + "x\\a.jpg" + '\0' + "x\\b.jpg");
}

TEST_F(WindowTest, ThePreviewShowsTheResultAndFollowsIt) {
    FrmConfig& window = Open();
    dialogs.fileChoices.push_back({{QStringLiteral("/pics/a.png")}, 1});
    Click("cmdBrowseForFiles");
    Click("cmdGo");
    Click("cmdPreview");
    auto* preview = window.findChild<PreviewWindow*>(QStringLiteral("frmPreview"));
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(window.isVisible()); // the window stays usable beside it
    EXPECT_TRUE(preview->shownHtml().contains(QStringLiteral("<td>/pics/a.png</td>")));
    Control<QPlainTextEdit>("txtResult")->setPlainText(QStringLiteral("<b>edited</b>"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return preview->shownHtml() == QStringLiteral("<b>edited</b>"); }, 3000));
}

TEST_F(WindowTest, ThePreviewOpensBesideTheWindowAndWhollyOnItsScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size(design::Pixels(design::kClientWidth), design::Pixels(design::kClientHeight));
    const QPoint places[] = {screen.topLeft(), QPoint(screen.left(), screen.center().y() - size.height()),
                             QPoint(screen.left(), screen.bottom() - size.height() - 10),
                             screen.bottomRight() - QPoint(size.width() + 10, size.height() + 10)};
    for (const QPoint& place : places) {
        Store(QStringLiteral("frmConfig"), QStringLiteral("left"), QString::number(design::Twips(place.x())));
        Store(QStringLiteral("frmConfig"), QStringLiteral("top"), QString::number(design::Twips(place.y())));
        FrmConfig& window = Open();
        ASSERT_EQ(window.pos(), place);
        Click("cmdPreview");
        auto* preview = window.findChild<PreviewWindow*>(QStringLiteral("frmPreview"));
        ASSERT_NE(preview, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(preview));
        const QRect frame = preview->frameGeometry();
        EXPECT_TRUE(screen.contains(frame))
            << frame.x() << ',' << frame.y() << ' ' << frame.width() << 'x' << frame.height();
        // To the right of the window, top edges level, as far as the screen allows.
        const QRect beside = window.frameGeometry();
        EXPECT_EQ(frame.left(), std::min(beside.right() + 1, screen.right() + 1 - frame.width()));
        EXPECT_EQ(frame.top(), std::min(beside.top(), screen.bottom() + 1 - frame.height()));
        Close();
    }
}

TEST_F(WindowTest, TheLoadDialogOffersThePresetsUntilAFolderIsRemembered) {
    Open();
    Click("cmdLoadConfig");
    EXPECT_EQ(dialogs.asked, QStringList{QStringLiteral("open ") + QCoreApplication::applicationDirPath() +
                                         QStringLiteral("/presets/")});
}

TEST_F(WindowTest, TextAndFoldersDraggedOntoABoxAreLeftToTheBox) {
    FrmConfig& window = Open();
    const std::string a = files.Write("a.jpg", "x");
    auto* width = Control<QLineEdit>("txtWidth");
    for (const bool asText : {true, false}) {
        QMimeData data;
        if (asText)
            data.setText(QString::fromStdString(a));
        else
            data.setUrls({QUrl::fromLocalFile(QString::fromStdString(files.path().string()))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(width, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(width, &drop);
        EXPECT_FALSE(Control("cmdGo")->isEnabled()) << asText;
    }
    EXPECT_EQ(window.selection(), std::string());
}

} // namespace
} // namespace tabulon
