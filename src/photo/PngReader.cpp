// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/PngReader.h"

#include "photo/ReducedImage.h"

#include <QIODevice>
#include <QLoggingCategory>

#include <csetjmp>
#include <png.h>
#include <vector>

namespace {

Q_LOGGING_CATEGORY(pngLog, "ostrabel.photo.png", QtWarningMsg)

// Chunks never read: text, colour profiles and palettes of suggestions
// carry nothing the calendar shows. The EXIF orientation is read apart.
constexpr png_byte skipped[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf";

// The file is handed to libpng in blocks as they come (its progressive
// reading), so a file that stops early gives every row its bytes hold.
constexpr qint64 blockBytes = qint64(64) * 1024;

} // namespace

struct PngReader::Private {
    QIODevice* device = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    QSize size;
    int channels = 0;
    bool interlaced = false;
    bool headerRead = false;
    size_t unread = 0; // of the block that held the header
    bool ended = false;
    int lastPass = 0;
    bool incomplete = false;
    ReducedImage* reduced = nullptr;
    std::vector<png_byte> pixels; // the whole picture, when interlaced
    size_t rowBytes = 0;

    static Private* of(png_structp png) {
        return static_cast<Private*>(png_get_progressive_ptr(png));
    }
    static void onError(png_structp png, png_const_charp message) {
        qCDebug(pngLog, "libpng: %s", message);
        png_longjmp(png, 1);
    }
    static void onWarning(png_structp, png_const_charp message) {
        qCDebug(pngLog, "libpng: %s", message);
    }
    // The header is in: the rows are to come as 8-bit RGB or RGBA. Stops
    // there, so the caller can size the photo before any row is decoded.
    static void onHeader(png_structp png, png_infop info) {
        Private* self = of(png);
        self->size =
            QSize(int(png_get_image_width(png, info)), int(png_get_image_height(png, info)));
        png_set_expand(png);
        png_set_scale_16(png);
        png_set_gray_to_rgb(png);
        self->interlaced = png_set_interlace_handling(png) > 1;
        png_read_update_info(png, info);
        self->channels = png_get_channels(png, info);
        self->rowBytes = size_t(self->size.width()) * size_t(self->channels);
        self->headerRead = true;
        self->unread = png_process_data_pause(png, 0);
    }
    static void onRow(png_structp png, png_bytep row, png_uint_32 number, int pass) {
        Private* self = of(png);
        self->lastPass = pass;
        if (!self->interlaced) {
            self->reduced->addRow(row);
            return;
        }
        if (number < png_uint_32(self->size.height()))
            png_progressive_combine_row(png, self->pixels.data() + self->rowBytes * number, row);
    }
    static void onEnd(png_structp png, png_infop) { of(png)->ended = true; }

    // Hands the file's next block to libpng; false at its end.
    bool feed(std::vector<png_byte>& block) {
        const qint64 count = device->read(reinterpret_cast<char*>(block.data()), blockBytes);
        if (count <= 0)
            return false;
        png_process_data(png, info, block.data(), size_t(count));
        return true;
    }
};

PngReader::PngReader(QIODevice* device)
    : d(std::make_unique<Private>()) {
    d->device = device;
    d->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, d.get(), Private::onError,
                                    Private::onWarning);
    if (d->png != nullptr)
        d->info = png_create_info_struct(d->png);
}

PngReader::~PngReader() {
    if (d->png != nullptr)
        png_destroy_read_struct(&d->png, d->info != nullptr ? &d->info : nullptr, nullptr);
}

bool PngReader::readHeader() {
    if (d->info == nullptr)
        return false;
    std::vector<png_byte> block(blockBytes);
    if (setjmp(png_jmpbuf(d->png)))
        return false;
    png_set_keep_unknown_chunks(d->png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(d->png, PNG_HANDLE_CHUNK_NEVER, skipped, int(sizeof skipped / 5));
    png_set_progressive_read_fn(d->png, d.get(), Private::onHeader, Private::onRow, Private::onEnd);
    while (!d->headerRead && d->feed(block)) {
    }
    // What libpng was not given yet is read again for the rows.
    d->device->seek(d->device->pos() - qint64(d->unread));
    return d->headerRead && !d->size.isEmpty() && (d->channels == 3 || d->channels == 4);
}

QSize PngReader::size() const {
    return d->size;
}

qint64 PngReader::decodingBytes() const {
    const qint64 row = qint64(d->size.width()) * 8; // libpng's rows, 16-bit RGBA at most
    return (d->interlaced ? qint64(d->size.height()) * d->size.width() * d->channels : 0) +
           3 * row + blockBytes;
}

QImage PngReader::read(const QSize& size) {
    ReducedImage reduced(d->size, size, d->channels, false);
    std::vector<png_byte> block(blockBytes);
    // Interlaced, each pass fills in pixels all over the picture: it is put
    // together whole, white where nothing came, before it is reduced.
    if (d->interlaced)
        d->pixels.assign(d->rowBytes * size_t(d->size.height()), 0xFF);
    d->reduced = &reduced;
    if (!reduced.isValid() || setjmp(png_jmpbuf(d->png)))
        return {};
    while (!d->ended && d->feed(block)) {
    }
    // After the first pass of an interlaced picture, every row shows something.
    const bool rowsShow = d->ended || d->lastPass > 0;
    for (int y = 0; d->interlaced && rowsShow && y < d->size.height(); ++y)
        reduced.addRow(d->pixels.data() + d->rowBytes * size_t(y));
    d->incomplete = d->interlaced ? !d->ended : reduced.rowsAdded() < d->size.height();
    d->pixels = {};
    return reduced.take();
}

bool PngReader::incomplete() const {
    return d->incomplete;
}
