// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsDefaults.h"

#include "SettingsKeys.h"

#include "ColorUtils.h"
#include "UserDefaults.h"

#include <QColor>
#include <QDir>

namespace {

QString expandTilde(const QString& path) {
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        return QDir::cleanPath(QDir::homePath() + path.mid(1));
    return path;
}

} // namespace

QVariantMap SettingsDefaults::defaultValues() {
    using namespace SettingsKeys;
    QVariantMap d;
    d.insert(QLatin1String(jpeg_compression), 90.0);
    d.insert(QLatin1String(browser_folder), expandTilde(QStringLiteral("~/Pictures")));
    d.insert(QLatin1String(browser_favorites),
             QStringList{expandTilde(QStringLiteral("~/Pictures")),
                         expandTilde(QStringLiteral("~/Desktop")),
                         QStringLiteral("/Library/Desktop Pictures"),
                         QStringLiteral("/Library/User Pictures")});
    d.insert(QLatin1String(browser_zoom), 1.0);
    d.insert(QLatin1String(browser_sort_order), 0);
    d.insert(QLatin1String(browser_show_folders), true);
    d.insert(QLatin1String(browser_show_images), true);
    d.insert(QLatin1String(browser_show_movies), true);
    d.insert(QLatin1String(transfer_mode), 0);
    d.insert(QLatin1String(transfer_destination), QStringLiteral("~/Pictures/[%Y]/[%Y-%m-%d] %P"));
    d.insert(QLatin1String(transfer_rotate), true);
    d.insert(QLatin1String(transfer_browse), true);
    d.insert(QLatin1String(transfer_overwrite_mode), 0);
    d.insert(QLatin1String(transfer_overwrite_default), 1);
    d.insert(QLatin1String(transfer_desc_history), QStringList());
    d.insert(QLatin1String(transfer_verify), false);
    d.insert(QLatin1String(viewer_background), ColorUtils::hexadecimalValue(QColor(0, 0, 0)));
    d.insert(QLatin1String(viewer_info_level), 0);
    d.insert(QLatin1String(viewer_transition), false);
    d.insert(QLatin1String(slideshow_delay), 3);
    d.insert(QLatin1String(slideshow_transition), true);
    d.insert(QLatin1String(batch_resize_pixels), 1600);
    d.insert(QLatin1String(batch_resize_pct), 100);
    d.insert(QLatin1String(batch_convert_copy_exif), true);
    d.insert(QLatin1String(batch_rename_files), true);
    d.insert(QLatin1String(batch_rename_suffix), QStringLiteral(" resized"));
    d.insert(QLatin1String(batch_delete_originals), false);
    return d;
}

void SettingsDefaults::registerDefaults(UserDefaults& store) {
    store.registerDefaults(defaultValues());
}
