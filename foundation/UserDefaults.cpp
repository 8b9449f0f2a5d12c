// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QStandardPaths>

namespace {

QMutex standardLock;
QString standardPath;
std::unique_ptr<UserDefaults> standardStore;

// INI files store numbers and booleans as text and drop the type of
// single-element and empty lists; bring a stored value back to the type of
// the key's default.
QVariant conformed(const QVariant& stored, const QVariant& registered) {
    if (!registered.isValid() || stored.metaType() == registered.metaType())
        return stored;
    if (registered.metaType().id() == QMetaType::QStringList) {
        if (!stored.isValid())
            return QStringList();
        return stored.toStringList();
    }
    QVariant converted = stored;
    if (converted.convert(registered.metaType()))
        return converted;
    return stored;
}

} // namespace

UserDefaults::UserDefaults(const QString& path)
    : m_store(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

UserDefaults::~UserDefaults() {
    m_store->sync();
}

QString UserDefaults::defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1String("/pixhaul/pixhaul.conf");
}

UserDefaults& UserDefaults::standardUserDefaults() {
    QMutexLocker locker(&standardLock);
    if (!standardStore)
        standardStore = std::make_unique<UserDefaults>(standardPath.isEmpty() ? defaultFilePath()
                                                                              : standardPath);
    return *standardStore;
}

void UserDefaults::useFile(const QString& path) {
    QMutexLocker locker(&standardLock);
    standardPath = path;
    standardStore.reset();
}

void UserDefaults::registerDefaults(const QVariantMap& defaults) {
    QMutexLocker locker(&m_mutex);
    for (auto it = defaults.constBegin(); it != defaults.constEnd(); ++it)
        m_registered.insert(it.key(), it.value());
}

QVariant UserDefaults::objectForKey(const QString& key) const {
    QMutexLocker locker(&m_mutex);
    const QVariant fallback = m_registered.value(key);
    if (m_store->contains(key))
        return conformed(m_store->value(key), fallback);
    return fallback;
}

void UserDefaults::setObject(const QVariant& value, const QString& key) {
    QMutexLocker locker(&m_mutex);
    if (!value.isValid())
        m_store->remove(key);
    else
        m_store->setValue(key, value);
}

void UserDefaults::setInteger(qint64 value, const QString& key) {
    setObject(QVariant::fromValue(value), key);
}

void UserDefaults::setBool(bool value, const QString& key) {
    setObject(QVariant(value), key);
}

void UserDefaults::setDouble(double value, const QString& key) {
    setObject(QVariant(value), key);
}

void UserDefaults::removeObjectForKey(const QString& key) {
    QMutexLocker locker(&m_mutex);
    m_store->remove(key);
}

qint64 UserDefaults::integerForKey(const QString& key) const {
    return objectForKey(key).toLongLong();
}

bool UserDefaults::boolForKey(const QString& key) const {
    return objectForKey(key).toBool();
}

double UserDefaults::doubleForKey(const QString& key) const {
    return objectForKey(key).toDouble();
}

QString UserDefaults::stringForKey(const QString& key) const {
    return objectForKey(key).toString();
}

QStringList UserDefaults::stringArrayForKey(const QString& key) const {
    return objectForKey(key).toStringList();
}

void UserDefaults::synchronize() {
    QMutexLocker locker(&m_mutex);
    m_store->sync();
}
