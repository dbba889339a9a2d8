// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSize>

// A HEVC or AV1 picture of a HEIF file as its decoder will see it: the
// decoder sizes its frames by the parameter sets in the coded bytes, not by
// the boxes around them, so what a decode costs is judged from these.
class CodedPicture {
public:
    // From the codec configuration box ("hvcC" or "av1C", the payload after
    // the box header) and the item's coded bytes, whose parameter sets (the
    // configuration's own and any in the data) all count: the largest frame,
    // the deepest samples and the richest chroma of them.
    static CodedPicture read(const QByteArray& configType, const QByteArray& config,
                             const QByteArray& data);

    // Whether a parameter set was found and read.
    bool isValid() const { return !frame.isEmpty() && bitDepth > 0; }
    // Whether the configuration box tells the truth about the sample depth;
    // libheif refuses a picture that decodes otherwise.
    bool depthAgrees() const { return bitDepth == declaredBitDepth; }

    QSize frame; // in luma samples, as the decoder allocates it
    int bitDepth = 0;
    int halfSamples = 0; // samples a pixel, in halves: 2 grey, 3 4:2:0, 4 4:2:2, 6 4:4:4
    int declaredBitDepth = 0;
};
