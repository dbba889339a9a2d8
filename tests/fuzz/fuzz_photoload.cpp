// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for PhotoLoader: any bytes go in, and what comes out must
// be null or a photo within the loader's promises.
#include "drawing/PageGeometry.h"
#include "photo/PhotoLoader.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Broken input makes the decoders warn on every run; that output only
    // slows the fuzzer down.
    qInstallMessageHandler(quiet);
    static int appArgc = *argc;
    static QGuiApplication app(appArgc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QImage photo = PhotoLoader::load(&buffer, PageGeometry::photoPixels()).photo;
    if (!photo.isNull()) {
        const qint64 pixels = qint64(photo.width()) * photo.height();
        if (photo.format() != QImage::Format_RGB32 || pixels > PhotoLoader::maxDecodedPixels) {
            std::abort();
        }
    }
    return 0;
}
