// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>

class QIODevice;

// The boxes of a HEIF file that say what its primary image is made of, read
// without libheif: libheif's own parse of a file of thousands of items takes
// seconds, so a file is judged first from these. Nothing is decoded.
class HeifMeta {
public:
    struct Property {
        QByteArray type;
        QByteArray payload; // after the box header
    };
    struct Extent {
        qint64 offset = 0; // in the file, or in idat
        qint64 length = 0; // 0 is none, as libheif reads it
    };
    struct Item {
        QByteArray type;       // "hvc1", "av01", "grid", ...
        qint64 flagsAt = -1;   // in the file: the infe byte that holds the hidden flag
        QList<int> properties; // into properties(), in their order
        QList<Extent> extents;
        bool inIdat = false;
        bool located = false;
    };

    // Reads the top-level boxes from the device's current position; the
    // device must be random access.
    static HeifMeta read(QIODevice* device);

    // Whether a top-level box, or data an item points to, runs past the end.
    bool cutShort() const { return m_cutShort; }
    // Whether the boxes could be read: an ftyp, and a meta box with a
    // picture handler, a primary item and its properties.
    bool isValid() const { return m_valid; }
    // The ftyp box's major brand and then its compatible brands.
    const QList<QByteArray>& brands() const { return m_brands; }
    // Whether the file holds a movie box: an image sequence's pictures.
    bool hasMovie() const { return m_movie; }

    quint32 primary() const { return m_primary; }
    int itemCount() const { return int(m_items.size()); }
    const Item* item(quint32 id) const;
    // The items `from` refers to with the reference type, in order.
    QList<quint32> references(quint32 from, const char* type) const;
    // The items that refer to `to` with the reference type.
    QList<quint32> referrers(quint32 to, const char* type) const;
    // The item's property of that type, or null.
    const Property* property(quint32 id, const char* type) const;
    const QList<Property>& properties() const { return m_properties; }
    // How many bytes the item's data takes.
    qint64 dataSize(quint32 id) const;
    // The item's bytes, at most `limit` of them; empty when they do not fit.
    QByteArray data(quint32 id, qint64 limit) const;
    // Whether each extent of the item lies within the file.
    bool dataPresent(quint32 id) const;

private:
    void readMeta(const QByteArray& meta);
    void readItems(const QByteArray& meta, qsizetype from, qsizetype to);
    void readReferences(const QByteArray& meta, qsizetype from, qsizetype to);
    void readProperties(const QByteArray& meta, qsizetype from, qsizetype to);
    void readLocations(const QByteArray& meta, qsizetype from, qsizetype to);

    QIODevice* m_device = nullptr;
    qint64 m_start = 0;     // the file's first byte on the device
    qint64 m_fileSize = 0;  // from m_start
    qint64 m_metaStart = 0; // the meta box's first byte, from m_start
    bool m_cutShort = false;
    bool m_valid = false;
    bool m_movie = false;
    QList<QByteArray> m_brands;
    quint32 m_primary = 0;
    QMap<quint32, Item> m_items;
    struct Reference {
        QByteArray type;
        quint32 from;
        QList<quint32> to;
    };
    QList<Reference> m_references;
    QList<Property> m_properties;
    QByteArray m_idat;
};
