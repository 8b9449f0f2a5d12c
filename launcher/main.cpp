// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-launcher: started at login; offers Pixhaul each camera card that
// gets mounted.
#include "ApplicationHandOver.h"
#include "CardVolumeWatcher.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

// The application installed beside this program, else the one on PATH.
QString applicationProgram() {
    const QString sibling = QCoreApplication::applicationDirPath() + QLatin1String("/pixhaul");
    return QFileInfo(sibling).isExecutable() ? sibling : QStringLiteral("pixhaul");
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pixhaul-launcher"));

    CardVolumeWatcher watcher;
    if (!watcher.isWatching()) {
        QTextStream(stderr)
            << "pixhaul-launcher: cannot read the mount table /proc/self/mountinfo\n";
        return 1;
    }
    ApplicationHandOver handOver(applicationProgram());
    QObject::connect(&watcher, &CardVolumeWatcher::cardVolumeAppeared, &handOver,
                     &ApplicationHandOver::handOver);
    return app.exec();
}
