#include <QApplication>
#include <QProcess>
#include <QStyleFactory>

#include "caption_fit.h"
#include "support/child_run.h"
#include "support/dark_palette.h"
#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

// The toolkit reads the scale once, at start: every scale is a process of its own.
TEST_F(WindowTest, EveryCaptionShowsWholeAtTheScaleOfThisProcess) {
    FrmConfig& window = open();
    EXPECT_EQ(test::cutCaptions(window), QStringList());
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        EXPECT_EQ(window.devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    }
}

TEST(HighDpi, EveryCaptionShowsWholeAtOneAndAHalfAndTwiceTheSize) {
    for (const char* scale : {"1.5", "2"}) {
        SCOPED_TRACE(scale);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_SCALE_FACTOR"_s, QString::fromLatin1(scale));
        test::expectPassesInChild(u"WindowTest.EveryCaptionShowsWholeAtTheScaleOfThisProcess"_s, environment);
    }
}

// WCAG's contrast ratio of two colours, from 1 (equal) to 21 (black on white).
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour behind a control's text: its own for controls that paint their
// background, else that of the first one below it that does.
QColor background(const QWidget* widget) {
    const QWidget* under = widget;
    while (under->parentWidget() && !under->autoFillBackground() &&
           (qobject_cast<const QLabel*>(under) || qobject_cast<const QGroupBox*>(under) ||
            qobject_cast<const QCheckBox*>(under)))
        under = under->parentWidget();
    return under->palette().color(under->backgroundRole());
}

class DarkPaletteTest : public WindowTest {
protected:
    DarkPaletteTest() : style_(QApplication::style()->name()), palette_(QApplication::palette()) {
        QApplication::setStyle(QStyleFactory::create(u"Fusion"_s));
        QApplication::setPalette(test::darkFusionPalette());
    }
    ~DarkPaletteTest() override {
        QApplication::setStyle(QStyleFactory::create(style_));
        QApplication::setPalette(palette_);
    }

private:
    QString style_;
    QPalette palette_;
};

TEST_F(DarkPaletteTest, EveryTextStandsOutFromItsBackground) {
    open();
    for (const design::Control& c : design::kControls) {
        const QWidget* widget = control(c.name);
        if (!widget->isEnabled())
            continue; // a control out of use may be dimmer
        const QColor text = widget->palette().color(widget->foregroundRole());
        EXPECT_GE(contrast(text, background(widget)), 4.5) << c.name;
    }
}

} // namespace
} // namespace tabulon
