// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageViewer.h"

#include "settings/SettingsKeys.h"

#include "ColorUtils.h"
#include "UserDefaults.h"

double ImageViewer::transitionDuration(TransitionKind kind) {
    switch (kind) {
    case TransitionKind::Fade:
        return 1.0;
    case TransitionKind::SlideFromLeft:
    case TransitionKind::SlideFromRight:
        return 0.3;
    case TransitionKind::None:
        break;
    }
    return 0.0;
}

QColor ImageViewer::backgroundColor(const UserDefaults& settings) {
    return ColorUtils::colorFromHexadecimalValue(
        settings.stringForKey(QLatin1String(SettingsKeys::viewer_background)));
}
