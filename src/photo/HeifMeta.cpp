// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/HeifMeta.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>

namespace {

// A grid of a thousand tiles takes some 50 KB of boxes.
constexpr qint64 kMaxMeta = 16 << 20;

// Big-endian numbers in order from data[from, to); reading past the end
// gives 0 and marks the reading failed.
class Fields {
public:
    Fields(const QByteArray& data, qsizetype from, qsizetype to)
        : m_data(data)
        , m_at(from)
        , m_end(to) {}

    quint64 take(int bytes) {
        if (bytes < 0 || bytes > 8 || bytes > m_end - m_at) {
            m_failed = true;
            m_at = m_end;
            return 0;
        }
        quint64 value = 0;
        for (int i = 0; i < bytes; ++i) {
            value = value << 8 | uchar(m_data[m_at++]);
        }
        return value;
    }
    QByteArray fourcc() {
        QByteArray type = m_data.mid(m_at, 4);
        take(4);
        return type;
    }
    qsizetype at() const { return m_at; }
    bool failed() const { return m_failed; }

private:
    const QByteArray& m_data;
    qsizetype m_at;
    qsizetype m_end;
    bool m_failed = false;
};

struct Box {
    QByteArray type;
    qsizetype payload = 0;
    qsizetype end = 0;
};

// The boxes in data[from, to); stops at the first one that does not fit.
QList<Box> boxesIn(const QByteArray& data, qsizetype from, qsizetype to) {
    QList<Box> boxes;
    while (from + 8 <= to) {
        auto size = qsizetype(qFromBigEndian<quint32>(data.constData() + from));
        size = size == 0 ? to - from : size;
        if (size < 8 || size > to - from) {
            break;
        }
        boxes.append({data.mid(from + 4, 4), from + 8, from + size});
        from += size;
    }
    return boxes;
}

} // namespace

HeifMeta HeifMeta::read(QIODevice* device) {
    HeifMeta meta;
    meta.m_device = device;
    meta.m_start = device->pos();
    meta.m_fileSize = device->size() - meta.m_start;
    QByteArray ftyp, metaBox;
    for (qint64 at = 0, count = 0; at < meta.m_fileSize && count < 4096; ++count) {
        const QByteArray header = device->seek(meta.m_start + at) ? device->read(16) : QByteArray();
        qint64 size = header.size() >= 8 ? qFromBigEndian<quint32>(header.constData()) : 0;
        qint64 headerSize = 8;
        if (size == 1 && header.size() == 16) {
            size = qint64(qFromBigEndian<quint64>(header.constData() + 8));
            headerSize = 16;
        } else if (size == 0 && header.size() >= 8) {
            size = meta.m_fileSize - at;
        }
        if (size < headerSize) {
            meta.m_cutShort = header.size() < 8;
            break;
        }
        if (size > meta.m_fileSize - at) {
            meta.m_cutShort = true;
            break;
        }
        const QByteArray type = header.mid(4, 4);
        meta.m_movie = meta.m_movie || type == "moov";
        if ((type == "ftyp" || type == "meta") && size <= kMaxMeta &&
            device->seek(meta.m_start + at + headerSize)) {
            (type == "ftyp" ? ftyp : metaBox) = device->read(size - headerSize);
            meta.m_metaStart = type == "meta" ? at + headerSize : meta.m_metaStart;
        }
        at += size;
    }
    for (qsizetype at = 0; at + 4 <= ftyp.size(); at += at == 0 ? 8 : 4) {
        meta.m_brands.append(ftyp.mid(at, 4)); // the minor version skipped
    }
    if (!metaBox.isEmpty()) {
        meta.readMeta(metaBox);
    }
    return meta;
}

void HeifMeta::readMeta(const QByteArray& meta) {
    bool picture = false;
    bool broken = false;
    for (const Box& box : boxesIn(meta, 4, meta.size())) { // a full box: version and flags first
        if (box.type == "hdlr") {
            Fields fields(meta, box.payload + 8, box.end);
            picture = fields.fourcc() == "pict";
        } else if (box.type == "pitm") {
            Fields fields(meta, box.payload, box.end);
            m_primary = quint32(fields.take(fields.take(4) >> 24 == 0 ? 2 : 4));
            broken = broken || fields.failed();
        } else if (box.type == "iinf") {
            readItems(meta, box.payload, box.end);
        } else if (box.type == "iref") {
            readReferences(meta, box.payload, box.end);
        } else if (box.type == "iprp") {
            readProperties(meta, box.payload, box.end);
        } else if (box.type == "iloc") {
            readLocations(meta, box.payload, box.end);
        } else if (box.type == "idat") {
            m_idat = meta.mid(box.payload, box.end - box.payload);
        }
    }
    m_valid = picture && !broken && m_valid && item(m_primary);
}

void HeifMeta::readItems(const QByteArray& meta, qsizetype from, qsizetype to) {
    Fields fields(meta, from, to);
    fields.take(fields.take(4) >> 24 == 0 ? 2 : 4); // the count; the boxes tell
    m_valid = !fields.failed();
    for (const Box& infe : boxesIn(meta, fields.at(), to)) {
        Fields entry(meta, infe.payload, infe.end);
        const auto version = int(entry.take(4) >> 24);
        if (infe.type != "infe" || version < 2) {
            continue; // no type: no picture
        }
        const auto id = quint32(entry.take(version == 2 ? 2 : 4));
        entry.take(2); // protection
        Item& item = m_items[id];
        item.type = entry.fourcc();
        item.flagsAt = m_metaStart + infe.payload + 3;
        m_valid = m_valid && !entry.failed();
    }
}

void HeifMeta::readReferences(const QByteArray& meta, qsizetype from, qsizetype to) {
    Fields fields(meta, from, to);
    const int idBytes = fields.take(4) >> 24 == 0 ? 2 : 4;
    for (const Box& box : boxesIn(meta, fields.at(), to)) {
        Fields entry(meta, box.payload, box.end);
        Reference reference{box.type, quint32(entry.take(idBytes)), {}};
        for (auto count = int(entry.take(2)); count > 0 && !entry.failed(); --count) {
            reference.to.append(quint32(entry.take(idBytes)));
        }
        m_references.append(reference);
    }
}

void HeifMeta::readProperties(const QByteArray& meta, qsizetype from, qsizetype to) {
    for (const Box& box : boxesIn(meta, from, to)) {
        if (box.type == "ipco") {
            for (const Box& property : boxesIn(meta, box.payload, box.end)) {
                m_properties.append(
                    {property.type, meta.mid(property.payload, property.end - property.payload)});
            }
        } else if (box.type == "ipma") {
            Fields fields(meta, box.payload, box.end);
            const auto header = fields.take(4);
            const int idBytes = header >> 24 == 0 ? 2 : 4, indexBytes = (header & 1) != 0 ? 2 : 1;
            for (auto count = fields.take(4); count > 0 && !fields.failed(); --count) {
                Item& item = m_items[quint32(fields.take(idBytes))];
                for (auto n = int(fields.take(1)); n > 0; --n) {
                    // The top bit says whether the property is essential.
                    const auto index =
                        int(fields.take(indexBytes) & (indexBytes == 2 ? 0x7fff : 0x7f));
                    if (index > 0) {
                        item.properties.append(index - 1);
                    }
                }
            }
        }
    }
}

void HeifMeta::readLocations(const QByteArray& meta, qsizetype from, qsizetype to) {
    Fields fields(meta, from, to);
    const auto version = int(fields.take(4) >> 24);
    const auto sizes = int(fields.take(2));
    const int offsetBytes = sizes >> 12, lengthBytes = (sizes >> 8) & 15,
              baseBytes = (sizes >> 4) & 15;
    const int indexBytes = version == 1 || version == 2 ? sizes & 15 : 0;
    const int idBytes = version < 2 ? 2 : 4;
    for (auto count = fields.take(idBytes); count > 0 && !fields.failed(); --count) {
        Item& item = m_items[quint32(fields.take(idBytes))];
        const int method = version == 1 || version == 2 ? int(fields.take(2) & 15) : 0;
        const bool here = fields.take(2) == 0; // data reference 0: this file
        const quint64 base = fields.take(baseBytes);
        item.located = here && method <= 1; // 0 the file, 1 idat; 2 (other items) is not read
        item.inIdat = method == 1;
        item.extents.clear();
        for (auto extents = int(fields.take(2)); extents > 0 && !fields.failed(); --extents) {
            fields.take(indexBytes);
            // Wrapping round as libheif's sum does; what lies beyond 2^62 lies
            // beyond any file.
            const quint64 offset = base + fields.take(offsetBytes);
            const quint64 length = fields.take(lengthBytes);
            constexpr quint64 kFar = quint64(1) << 62;
            item.extents.append({qint64(std::min(offset, kFar)), qint64(std::min(length, kFar))});
        }
    }
}

const HeifMeta::Item* HeifMeta::item(quint32 id) const {
    const auto found = m_items.find(id);
    return found != m_items.end() && !found->type.isEmpty() ? &*found : nullptr;
}

QList<quint32> HeifMeta::references(quint32 from, const char* type) const {
    for (const Reference& reference : m_references) {
        if (reference.from == from && reference.type == type) {
            return reference.to;
        }
    }
    return {};
}

QList<quint32> HeifMeta::referrers(quint32 to, const char* type) const {
    QList<quint32> found;
    for (const Reference& reference : m_references) {
        if (reference.type == type && reference.to.contains(to)) {
            found.append(reference.from);
        }
    }
    return found;
}

const HeifMeta::Property* HeifMeta::property(quint32 id, const char* type) const {
    const Item* found = item(id);
    for (const int index : found ? found->properties : QList<int>()) {
        if (index < m_properties.size() && m_properties[index].type == type) {
            return &m_properties[index];
        }
    }
    return nullptr;
}

bool HeifMeta::dataPresent(quint32 id) const {
    const Item* found = item(id);
    const qint64 size = found && found->inIdat ? m_idat.size() : m_fileSize;
    return found &&
           std::all_of(found->extents.begin(), found->extents.end(), [size](const Extent& extent) {
               return extent.offset >= 0 && extent.length >= 0 && extent.offset <= size &&
                      extent.length <= size - extent.offset;
           });
}

qint64 HeifMeta::dataSize(quint32 id) const {
    const Item* found = item(id);
    qint64 total = 0;
    for (const Extent& extent : found ? found->extents : QList<Extent>()) {
        total += extent.length;
    }
    return total;
}

QByteArray HeifMeta::data(quint32 id, qint64 limit) const {
    const Item* found = item(id);
    if (!found || !found->located || !dataPresent(id) || dataSize(id) > limit) {
        return {};
    }
    QByteArray bytes;
    for (const Extent& extent : found->extents) {
        if (found->inIdat) {
            bytes += m_idat.mid(extent.offset, extent.length);
        } else if (m_device->seek(m_start + extent.offset)) {
            const QByteArray part = m_device->read(extent.length);
            if (part.size() != extent.length) {
                return {};
            }
            bytes += part;
        }
    }
    return bytes;
}
