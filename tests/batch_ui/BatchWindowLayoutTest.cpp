// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window's pages at the default and at a large font: every
// control gets at least the room it asks for. With PIXHAUL_SCREENSHOT_DIR
// set, each page is also saved there as a picture for a person to look at;
// with PIXHAUL_SCREENSHOT_COMMAND set (a shell command, "%1" standing for
// the picture's name), that command runs while the page is on screen.
#include "BatchUiFixture.h"

#include "batch/BatchSummary.h"
#include "batch/ui/BatchOutputController.h"
#include "batch/ui/BatchProcessWindow.h"
#include "batch/ui/BatchProgressController.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

// Names of visible controls narrower or lower than they need to be.
QStringList clippedControls(const QWidget* window) {
    QStringList clipped;
    const QList<QWidget*> controls = window->findChildren<QWidget*>();
    for (const QWidget* control : controls) {
        if (!control->isVisible() || control->objectName().isEmpty() ||
            control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (!qobject_cast<const QLabel*>(control) &&
            !qobject_cast<const QAbstractButton*>(control) &&
            !qobject_cast<const QComboBox*>(control) && !qobject_cast<const QLineEdit*>(control) &&
            !qobject_cast<const QAbstractSpinBox*>(control))
            continue;
        // A combo box shows its longest item only at its size hint.
        const QSize needed = qobject_cast<const QComboBox*>(control) ? control->sizeHint()
                                                                     : control->minimumSizeHint();
        // A wrapping label may be narrower than its one-line width; its
        // height must then fit the wrapped text.
        const auto* label = qobject_cast<const QLabel*>(control);
        if (label && label->wordWrap()) {
            if (control->height() < label->heightForWidth(control->width()))
                clipped.append(control->objectName());
            continue;
        }
        if (control->width() < needed.width() || control->height() < needed.height())
            clipped.append(control->objectName());
    }
    return clipped;
}

void saveForViewing(QWidget* window, const QString& name) {
    const QString command = qEnvironmentVariable("PIXHAUL_SCREENSHOT_COMMAND");
    if (!command.isEmpty()) {
        const QString fullName =
            QStringLiteral("%1-%2pt").arg(name).arg(QApplication::font().pointSizeF());
        QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), command.arg(fullName)});
    }
    const QString folder = qEnvironmentVariable("PIXHAUL_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    window->grab().save(
        QStringLiteral("%1/%2-%3pt.png").arg(folder, name).arg(QApplication::font().pointSizeF()));
}

void settle() {
    QApplication::processEvents();
    QTest::qWait(50);
    QApplication::processEvents();
}

class BatchWindowLayout : public BatchUiFixture, public ::testing::WithParamInterface<double> {
protected:
    void SetUp() override {
        BatchUiFixture::SetUp();
        m_original = QApplication::font();
        QFont font = m_original;
        font.setPointSizeF(m_original.pointSizeF() * GetParam());
        QApplication::setFont(font);
    }
    void TearDown() override {
        QApplication::setFont(m_original);
        BatchUiFixture::TearDown();
    }

    QFont m_original;
};

TEST_P(BatchWindowLayout, EveryPageGivesItsControlsTheirRoom) {
    BatchProcessWindow window(m_sources.path(), {}, m_settings.store);
    window.show(nullptr);
    const char* names[] = {"batch-resize", "batch-convert", "batch-output"};
    for (int stage = 0; stage < 3; ++stage) {
        continueTo(window, stage);
        if (stage == 2)
            // The warning is the page's tallest state.
            window.outputController()->renameFiles()->setChecked(false);
        settle();
        EXPECT_EQ(clippedControls(&window), QStringList()) << names[stage];
        saveForViewing(&window, QString::fromLatin1(names[stage]));
    }

    // The progress page at its fullest: a summary with failures. The run
    // itself is not wanted here.
    continueTo(window, 3);
    BatchProgressController* progress = window.progressController();
    progress->runStartTimer()->stop();
    progress->imageStarted(1, 3, QStringLiteral("/photos/IMG_0002.JPG"));
    progress->incrementBy(100.0 / 3);
    settle();
    EXPECT_EQ(clippedControls(&window), QStringList()) << "batch-progress";
    saveForViewing(&window, QStringLiteral("batch-progress"));

    BatchSummary summary;
    summary.written = 2;
    summary.failed = 1;
    BatchOutcome failure;
    failure.source = QStringLiteral("/photos/IMG_0003.TIF");
    failure.reason = QStringLiteral("cannot be processed");
    summary.failures = {failure};
    progress->showSummary(summary, QStringLiteral("/photos/Resized"));
    settle();
    EXPECT_EQ(clippedControls(&window), QStringList()) << "batch-summary";
    saveForViewing(&window, QStringLiteral("batch-summary"));
    window.done();
}

INSTANTIATE_TEST_SUITE_P(Fonts, BatchWindowLayout, ::testing::Values(1.0, 1.6));

} // namespace
