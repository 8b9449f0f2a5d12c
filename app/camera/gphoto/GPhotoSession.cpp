// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoSession.h"

#include <gphoto2/gphoto2-abilities-list.h>
#include <gphoto2/gphoto2-camera.h>
#include <gphoto2/gphoto2-context.h>
#include <gphoto2/gphoto2-port-info-list.h>
#include <gphoto2/gphoto2-result.h>

namespace {

void rememberError(GPContext*, const char* text, void* data) {
    *static_cast<QString*>(data) = QString::fromUtf8(text).simplified();
}

} // namespace

GPhotoSession::GPhotoSession()
    : m_context(gp_context_new()) {
    gp_context_set_error_func(m_context, rememberError, &m_lastMessage);
}

GPhotoSession::~GPhotoSession() {
    close();
    gp_context_unref(m_context);
}

QString GPhotoSession::open(const GPhotoDeviceInfo& info) {
    close();
    Camera* camera = nullptr;
    int result = gp_camera_new(&camera);
    if (result < GP_OK)
        return describeError(result, QStringLiteral("Cannot create a camera"));

    CameraAbilitiesList* abilitiesList = nullptr;
    gp_abilities_list_new(&abilitiesList);
    result = gp_abilities_list_load(abilitiesList, m_context);
    const QByteArray model = info.model.toUtf8();
    const int modelIndex =
        result < GP_OK ? result : gp_abilities_list_lookup_model(abilitiesList, model.constData());
    CameraAbilities abilities{};
    if (modelIndex >= 0)
        gp_abilities_list_get_abilities(abilitiesList, modelIndex, &abilities);
    gp_abilities_list_free(abilitiesList);
    if (modelIndex < 0) {
        gp_camera_free(camera);
        return describeError(modelIndex,
                             QStringLiteral("Unknown camera model \"%1\"").arg(info.model));
    }
    gp_camera_set_abilities(camera, abilities);

    GPPortInfoList* portList = nullptr;
    gp_port_info_list_new(&portList);
    result = gp_port_info_list_load(portList);
    const QByteArray port = info.port.toUtf8();
    const int portIndex =
        result < GP_OK ? result : gp_port_info_list_lookup_path(portList, port.constData());
    if (portIndex >= 0) {
        GPPortInfo portInfo;
        gp_port_info_list_get_info(portList, portIndex, &portInfo);
        result = gp_camera_set_port_info(camera, portInfo);
    }
    gp_port_info_list_free(portList);
    if (portIndex < 0 || result < GP_OK) {
        gp_camera_free(camera);
        return describeError(portIndex < 0 ? portIndex : result,
                             QStringLiteral("Unknown camera port \"%1\"").arg(info.port));
    }

    result = gp_camera_init(camera, m_context);
    if (result < GP_OK) {
        gp_camera_free(camera);
        return describeError(result, QStringLiteral("Cannot open %1").arg(info.identifier()));
    }
    m_camera = camera;
    return {};
}

void GPhotoSession::close() {
    if (!m_camera)
        return;
    gp_camera_exit(m_camera, m_context);
    gp_camera_free(m_camera);
    m_camera = nullptr;
}

QString GPhotoSession::describeError(int result, const QString& what) {
    QString text = what + QStringLiteral(": ") + QString::fromUtf8(gp_result_as_string(result));
    if (!m_lastMessage.isEmpty() && !text.contains(m_lastMessage))
        text += QStringLiteral(" (") + m_lastMessage + QLatin1Char(')');
    m_lastMessage.clear();
    return text;
}
