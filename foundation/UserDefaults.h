// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMutex>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>

// The per-user settings store: values the user stored (an INI file through
// QSettings) over a layer of registered defaults that is never saved.
// A stored value always wins; a key neither stored nor registered reads as
// absent (a null QVariant). Safe to use from any thread.
class UserDefaults {
public:
    // Store backed by the INI file at `path`.
    explicit UserDefaults(const QString& path);
    ~UserDefaults();

    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    // The process-wide store, "~/.config/pixhaul/pixhaul.conf" unless
    // redirected by useFile().
    static UserDefaults& standardUserDefaults();
    // Points the process-wide store at another file (tests, tools).
    static void useFile(const QString& path);
    static QString defaultFilePath();

    // Fills the defaults layer; stored values are neither changed nor removed.
    void registerDefaults(const QVariantMap& defaults);

    // The stored value, else the registered default, else a null QVariant.
    // INI files keep no types, so a stored value is converted to the type
    // of the key's registered default where there is one.
    QVariant objectForKey(const QString& key) const;
    void setObject(const QVariant& value, const QString& key);
    void setInteger(qint64 value, const QString& key);
    void setBool(bool value, const QString& key);
    void setDouble(double value, const QString& key);
    void removeObjectForKey(const QString& key);

    // Conversions callers use most (absent: 0, false, empty).
    qint64 integerForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    double doubleForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    QStringList stringArrayForKey(const QString& key) const;

    // Writes pending changes to disk.
    void synchronize();

private:
    mutable QMutex m_mutex;
    std::unique_ptr<QSettings> m_store;
    QVariantMap m_registered;
};
