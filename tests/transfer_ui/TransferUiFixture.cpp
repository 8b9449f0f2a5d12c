// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferUiFixture.h"

#include "JpegFixture.h"

#include "UserDefaults.h"
#include "settings/SettingsDefaults.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

void TransferUiFixture::SetUp() {
    UserDefaults::useFile(m_dir.filePath(QStringLiteral("pixhaul.conf")));
    // An import history of each test's own: the cards of all tests look alike.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
    SettingsDefaults::registerDefaults(UserDefaults::standardUserDefaults());
}

void TransferUiFixture::TearDown() {
    UserDefaults::useFile(QString());
}

QString TransferUiFixture::writeCard(const QList<QDateTime>& dates) {
    const QString card = path(QStringLiteral("card"));
    for (int i = 0; i < dates.size(); ++i) {
        JpegFixture::Options options;
        options.digitized = dates.at(i);
        options.left = QColor::fromHsv((i * 70) % 360, 200, 230);
        const QString name = QStringLiteral("%1/DCIM/100TEST/IMG_%2.JPG")
                                 .arg(card)
                                 .arg(i + 1, 4, 10, QLatin1Char('0'));
        EXPECT_TRUE(JpegFixture::write(name, options)) << name.toStdString();
    }
    return card;
}

QStringList TransferUiFixture::answeringAlerts(const std::function<void()>& action) {
    QStringList texts;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&texts] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        texts.append(box->text());
        if (QPushButton* button = box->defaultButton())
            button->click();
        else
            box->accept();
    });
    watcher.start(10);
    action();
    return texts;
}
