// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileName.h"

#include <QList>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

namespace {

constexpr char16_t firstKept = 0xDC80;
constexpr char16_t lastKept = 0xDCFF;

bool isKeptByte(QChar c) {
    return c.unicode() >= firstKept && c.unicode() <= lastKept;
}

// The length of the valid UTF-8 sequence at `at`, or 0 when it is not one.
int sequenceLength(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return i < bytes.size() ? uchar(bytes[i]) : 0; };
    const uchar lead = byte(at);
    const auto follows = [&](qsizetype i, uchar least = 0x80, uchar most = 0xBF) {
        return byte(i) >= least && byte(i) <= most;
    };
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return follows(at + 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        // No overlong forms, no UTF-16 surrogates.
        const uchar least = lead == 0xE0 ? 0xA0 : 0x80;
        const uchar most = lead == 0xED ? 0x9F : 0xBF;
        return follows(at + 1, least, most) && follows(at + 2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const uchar least = lead == 0xF0 ? 0x90 : 0x80;
        const uchar most = lead == 0xF4 ? 0x8F : 0xBF;
        return follows(at + 1, least, most) && follows(at + 2) && follows(at + 3) ? 4 : 0;
    }
    return 0;
}

bool exists(const QByteArray& native) {
    struct stat st;
    return lstat(native.constData(), &st) == 0;
}

} // namespace

QString FileName::fromNative(const QByteArray& bytes) {
    QString name;
    name.reserve(bytes.size());
    qsizetype run = 0; // start of the valid bytes not yet decoded
    for (qsizetype at = 0; at < bytes.size();) {
        const int length = sequenceLength(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        name += QString::fromUtf8(bytes.constData() + run, at - run);
        name += QChar(char16_t(0xDC00 + uchar(bytes[at])));
        run = ++at;
    }
    name += QString::fromUtf8(bytes.constData() + run, bytes.size() - run);
    return name;
}

QByteArray FileName::toNative(const QString& name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype run = 0;
    for (qsizetype at = 0; at < name.size(); ++at) {
        // A low surrogate after a high one is half of a real character.
        if (isKeptByte(name[at]) && (at == 0 || !name[at - 1].isHighSurrogate())) {
            bytes += QStringView(name).mid(run, at - run).toUtf8();
            bytes += char(name[at].unicode() - 0xDC00);
            run = at + 1;
        }
    }
    bytes += QStringView(name).mid(run).toUtf8();
    return bytes;
}

QString FileName::recovered(const QString& shown) {
    if (!shown.contains(QChar::ReplacementCharacter) || exists(toNative(shown)))
        return shown;
    const QStringList parts = shown.split(QLatin1Char('/'));
    QByteArray path = toNative(parts.first());
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray folder = path.isEmpty() ? QByteArray("/") : path;
        QByteArray part = toNative(parts[i]);
        if (parts[i].contains(QChar::ReplacementCharacter) && !exists(folder + '/' + part)) {
            // Qt decoded the names it listed with QString::fromUtf8; the one
            // that decodes to this part is the name meant.
            QList<QByteArray> fits;
            if (DIR* dir = opendir(folder.constData())) {
                while (const dirent* entry = readdir(dir))
                    if (QString::fromUtf8(entry->d_name) == parts[i])
                        fits << QByteArray(entry->d_name);
                closedir(dir);
            }
            if (fits.size() != 1)
                return shown;
            part = fits.first();
        }
        path += '/' + part;
    }
    return fromNative(path);
}

QString FileName::shown(const QString& name) {
    QString text = name;
    for (qsizetype at = 0; at < text.size(); ++at)
        if (isKeptByte(text[at]) && (at == 0 || !text[at - 1].isHighSurrogate()))
            text[at] = QChar::ReplacementCharacter;
    return text;
}
