// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/ReducedImage.h"

#include <algorithm>

ReducedImage::ReducedImage(const QSize& source, const QSize& target, int channels,
                           bool premultiplied)
    : m_source(source)
    , m_channels(channels)
    , m_premultiplied(premultiplied)
    , m_image(target.boundedTo(source), QImage::Format_RGB32) {
    if (m_image.isNull() || source.isEmpty())
        return;
    m_image.fill(Qt::white);
    m_column.resize(size_t(source.width()));
    m_columnCount.assign(size_t(m_image.width()), 0);
    for (int x = 0; x < source.width(); ++x) {
        const int column = int(qint64(x) * m_image.width() / source.width());
        m_column[size_t(x)] = column;
        ++m_columnCount[size_t(column)];
    }
    m_sums.assign(size_t(m_image.width()) * 3, 0);
}

void ReducedImage::addRow(const uchar* pixels) {
    if (m_image.isNull() || m_row >= m_source.height())
        return;
    const int targetRow = int(qint64(m_row) * m_image.height() / m_source.height());
    if (targetRow != m_targetRow)
        flush();
    m_targetRow = targetRow;
    quint32* sums = m_sums.data();
    const int* column = m_column.data();
    for (int x = 0; x < m_source.width(); ++x, pixels += m_channels) {
        quint32* sum = sums + ptrdiff_t(3) * column[x];
        const quint32 alpha = m_channels == 4 ? pixels[3] : 255;
        if (alpha == 255) {
            sum[0] += pixels[0];
            sum[1] += pixels[1];
            sum[2] += pixels[2];
            continue;
        }
        // On white: what the colour leaves uncovered shows the paper.
        const quint32 white = 255 - alpha;
        for (int c = 0; c < 3; ++c) {
            const quint32 colour = m_premultiplied ? std::min<quint32>(pixels[c], alpha)
                                                   : (pixels[c] * alpha + 127) / 255;
            sum[c] += colour + white;
        }
    }
    ++m_rowsInSums;
    ++m_row;
}

void ReducedImage::flush() {
    if (m_rowsInSums == 0)
        return;
    auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(m_targetRow));
    for (int x = 0; x < m_image.width(); ++x) {
        const quint32 count = m_columnCount[size_t(x)] * m_rowsInSums;
        quint32* sum = &m_sums[size_t(x) * 3];
        if (count > 0)
            line[x] = qRgb(int((sum[0] + count / 2) / count), int((sum[1] + count / 2) / count),
                           int((sum[2] + count / 2) / count));
        sum[0] = sum[1] = sum[2] = 0;
    }
    m_rowsInSums = 0;
}

QImage ReducedImage::take() {
    flush();
    return std::move(m_image);
}
