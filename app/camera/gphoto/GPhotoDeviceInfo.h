// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaType>
#include <QString>

#include <optional>

// A camera as libgphoto2 names it: its driver's model name and the port it
// sits on ("usb:001,007", "disk:/media/card", "ptpip:10.0.0.2"). Plain value,
// any thread.
struct GPhotoDeviceInfo {
    QString model;
    QString port;

    // Cards and folders reached through the file system ("disk:" and
    // "usbdisk:" ports): such cameras come in as volumes, not as devices.
    bool isMassStorage() const;

    // "MODEL@PORT", the form the command line takes.
    QString identifier() const { return model + QLatin1Char('@') + port; }
    // Splits "MODEL@PORT" at the '@' that precedes the port's type prefix
    // ("usb:", "disk:", ...), so '@' inside a model or a folder is fine.
    static std::optional<GPhotoDeviceInfo> fromIdentifier(const QString& identifier);

    friend bool operator==(const GPhotoDeviceInfo&, const GPhotoDeviceInfo&) = default;
};

Q_DECLARE_METATYPE(GPhotoDeviceInfo)
