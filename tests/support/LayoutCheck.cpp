// SPDX-License-Identifier: GPL-3.0-or-later
#include "LayoutCheck.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QWidget>

namespace LayoutCheck {

QStringList clippedControls(const QWidget* window) {
    QStringList clipped;
    const QList<QWidget*> controls = window->findChildren<QWidget*>();
    for (const QWidget* control : controls) {
        // Qt's own parts of a control ("qt_spinbox_lineedit") are its business.
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

} // namespace LayoutCheck
