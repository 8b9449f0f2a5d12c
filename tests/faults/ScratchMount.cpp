// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScratchMount.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

ScratchMount::ScratchMount(qint64 bytes) {
    if (geteuid() != 0) {
        m_why = QStringLiteral("mounting a small tmpfs needs root; run the faults suite as root");
        return;
    }
    const QByteArray target = QFile::encodeName(m_folder.path());
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("tmpfs", target.constData(), "tmpfs", 0, options.c_str()) != 0) {
        m_why =
            QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    m_mounted = true;
}

ScratchMount::~ScratchMount() {
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder.path()).constData(), MNT_DETACH);
}

bool ScratchMount::makeReadOnly() {
    const QByteArray target = QFile::encodeName(m_folder.path());
    if (::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        m_why = QStringLiteral("cannot remount read-only: ") +
                QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

bool ScratchMount::fill(qint64 leave) {
    struct statvfs info {};
    const QByteArray target = QFile::encodeName(m_folder.path());
    if (::statvfs(target.constData(), &info) != 0)
        return false;
    const qint64 available = qint64(info.f_bavail) * qint64(info.f_frsize);
    if (available <= leave)
        return true;
    QFile filler(m_folder.path() + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block(4096, 'f');
    for (qint64 left = available - leave; left > 0; left -= block.size())
        if (filler.write(block.constData(), qMin<qint64>(left, block.size())) <= 0)
            break;
    filler.close();
    return true;
}
