// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoDeviceInfo.h"

#include <QRegularExpression>

bool GPhotoDeviceInfo::isMassStorage() const {
    return port.startsWith(QLatin1String("disk:")) || port.startsWith(QLatin1String("usbdisk:"));
}

std::optional<GPhotoDeviceInfo> GPhotoDeviceInfo::fromIdentifier(const QString& identifier) {
    static const QRegularExpression portStart(QStringLiteral("@([a-z0-9]+):"));
    const QRegularExpressionMatch match = portStart.match(identifier);
    if (!match.hasMatch() || match.capturedStart() == 0)
        return std::nullopt;
    GPhotoDeviceInfo info;
    info.model = identifier.left(match.capturedStart());
    info.port = identifier.mid(match.capturedStart() + 1);
    return info;
}
