// SPDX-License-Identifier: GPL-3.0-or-later
#include "NativePath.h"

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool isEscape(char16_t unit) {
    return unit >= 0xDC80 && unit <= 0xDCFF;
}

// Length of the valid UTF-8 sequence at `bytes[i]`, or 0 when it is none.
int validSequenceAt(const QByteArray& bytes, qsizetype i) {
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned int low = 0x80, high = 0xBF; // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F; // no encoded surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

} // namespace

QString NativePath::decode(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        qsizetype run = i;
        while (run < bytes.size()) {
            const int length = validSequenceAt(bytes, run);
            if (length == 0)
                break;
            run += length;
        }
        text += QString::fromUtf8(bytes.constData() + i, run - i);
        if (run < bytes.size()) {
            text += QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes[run])));
            ++run;
        }
        i = run;
    }
    return text;
}

QByteArray NativePath::encode(const QString& path) {
    if (!needsBytes(path))
        return path.toUtf8();
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !isEscape(path[i].unicode()))
            continue;
        bytes += QStringView(path).mid(start, i - start).toUtf8();
        if (i < path.size())
            bytes += char(path[i].unicode() - EscapeBase);
        start = i + 1;
    }
    return bytes;
}

bool NativePath::needsBytes(const QString& path) {
    for (const QChar c : path) {
        if (isEscape(c.unicode()))
            return true;
    }
    return false;
}
