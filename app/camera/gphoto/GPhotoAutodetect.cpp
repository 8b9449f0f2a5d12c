// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoAutodetect.h"

#include <QDirIterator>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>

#include <gphoto2/gphoto2-abilities-list.h>
#include <gphoto2/gphoto2-context.h>
#include <gphoto2/gphoto2-list.h>
#include <gphoto2/gphoto2-port-info-list.h>
#include <gphoto2/gphoto2-result.h>

namespace {

// Loading the drivers' abilities opens every driver; done once. The port
// list is read afresh each time, as that is where new devices show up.
CameraAbilitiesList* abilities(GPContext* context) {
    static CameraAbilitiesList* list = [context] {
        CameraAbilitiesList* loaded = nullptr;
        gp_abilities_list_new(&loaded);
        gp_abilities_list_load(loaded, context);
        return loaded;
    }();
    return list;
}

} // namespace

QByteArray GPhotoAutodetect::connectionSignature() {
    QByteArray signature;
    QDirIterator nodes(QStringLiteral("/dev/bus/usb"), QDir::Files | QDir::System,
                       QDirIterator::Subdirectories);
    while (nodes.hasNext())
        signature += nodes.next().toUtf8() + '\n';
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (mounts.open(QIODevice::ReadOnly))
        signature += mounts.readAll();
    return signature;
}

QList<GPhotoDeviceInfo> GPhotoAutodetect::detect() {
    static QMutex detectLock;
    QMutexLocker locker(&detectLock);

    QList<GPhotoDeviceInfo> found;
    GPContext* context = gp_context_new();
    GPPortInfoList* ports = nullptr;
    CameraList* cameras = nullptr;
    gp_port_info_list_new(&ports);
    gp_list_new(&cameras);
    if (gp_port_info_list_load(ports) >= GP_OK &&
        gp_abilities_list_detect(abilities(context), ports, cameras, context) >= GP_OK) {
        const int count = gp_list_count(cameras);
        for (int index = 0; index < count; ++index) {
            const char* model = nullptr;
            const char* port = nullptr;
            if (gp_list_get_name(cameras, index, &model) < GP_OK ||
                gp_list_get_value(cameras, index, &port) < GP_OK || !model || !port)
                continue;
            // libgphoto2 lists the generic "usb:" entry too; only real ports count.
            const QString portPath = QString::fromUtf8(port);
            if (portPath == QLatin1String("usb:"))
                continue;
            found.append(GPhotoDeviceInfo{QString::fromUtf8(model), portPath});
        }
    }
    gp_list_free(cameras);
    gp_port_info_list_free(ports);
    gp_context_unref(context);
    return found;
}
