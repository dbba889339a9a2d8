// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

#include <memory>

class QIODevice;

// PNG photos through libpng, row by row: the picture is reduced as it is
// decoded, so a 16-bit photo costs no more than an 8-bit one, and text,
// colour profiles and unknown chunks are skipped unread (a few kilobytes of
// compressed text can unpack to gigabytes). libpng's own messages go to the
// debug log, never to the person.
class PngReader {
public:
    // Reads from the device's position; the device must outlive the reader.
    explicit PngReader(QIODevice* device);
    ~PngReader();
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    // The header, up to the first pixels; false when it is damaged.
    bool readHeader();
    QSize size() const;
    // What decoding holds beside the reduced photo: libpng's rows, and for an
    // interlaced picture the whole of it at 8 bits a channel.
    qint64 decodingBytes() const;
    // The picture reduced to `size` (at most size()), on white, Format_RGB32;
    // null when damaged. A file that stops early gives the rows before the
    // end, and incomplete() then says so.
    QImage read(const QSize& size);
    bool incomplete() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
