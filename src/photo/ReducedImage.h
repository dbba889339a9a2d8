// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

#include <vector>

// A photo made smaller as its rows are decoded: every source pixel is put on
// white and averaged into the pixel of the target it falls in, so only one
// row of sums is held beside the target, never the whole source.
class ReducedImage {
public:
    // Rows come with `channels` bytes a pixel: 3 (RGB) or 4 (RGBA, the alpha
    // straight or, when premultiplied, already multiplied into the colour).
    ReducedImage(const QSize& source, const QSize& target, int channels, bool premultiplied);

    // False when the target could not be allocated.
    bool isValid() const { return !m_image.isNull(); }
    // The next row of the source, source.width() pixels.
    void addRow(const uchar* pixels);
    int rowsAdded() const { return m_row; }
    // The photo as Format_RGB32; rows never added stay white.
    QImage take();

private:
    void flush();

    QSize m_source;
    int m_channels;
    bool m_premultiplied;
    QImage m_image;
    std::vector<int> m_column;          // the target column of each source column
    std::vector<quint32> m_columnCount; // source columns in each target column
    std::vector<quint32> m_sums;        // red, green, blue of the target row being made
    int m_row = 0;                      // source rows added
    int m_targetRow = 0;                // the target row the sums belong to
    quint32 m_rowsInSums = 0;
};
