// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewUtils.h"

#include "FoundationLog.h"

#include <QFile>
#include <QHash>
#include <QUiLoader>

namespace {

QHash<QString, ViewUtils::ViewFactory>& registeredNibs() {
    static QHash<QString, ViewUtils::ViewFactory> nibs;
    return nibs;
}

} // namespace

void ViewUtils::registerNib(const QString& name, ViewFactory factory) {
    if (factory)
        registeredNibs().insert(name, std::move(factory));
    else
        registeredNibs().remove(name);
}

QWidget* ViewUtils::viewFromNib(const QString& name, QWidget* owner) {
    if (name.isEmpty())
        return nullptr;
    const auto registered = registeredNibs().constFind(name);
    if (registered != registeredNibs().constEnd())
        return (*registered)(owner);

    QFile file(QStringLiteral(":/ui/%1.ui").arg(name));
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcFoundation) << "no interface named" << name;
        return nullptr;
    }
    QUiLoader loader;
    QWidget* view = loader.load(&file, owner);
    if (!view)
        qCWarning(lcFoundation) << "interface" << name << "does not load:" << loader.errorString();
    return view;
}
