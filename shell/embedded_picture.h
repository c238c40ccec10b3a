#pragma once
#include <QImage>
#include <QRect>

class QPainter;

namespace tervalen::shell {

// A picture read from the strips the program embeds (see resources/strip_picture.h): the
// main window's background, its icon. Painting decompresses only the strips a paint exposes,
// one at a time into a buffer of one strip: the whole picture is never held in memory,
// and a start-up reads only the compressed strips of the part it shows.
class EmbeddedPicture {
public:
    // The picture whose strips start at `data` (`size` bytes, read in place and kept by
    // the caller); a null picture when the layout is damaged.
    EmbeddedPicture(const uchar* data, qint64 size);
    // The picture of that name in the program's resources (":/background.strips").
    static EmbeddedPicture embedded(const QString& resource);

    EmbeddedPicture(EmbeddedPicture&&) noexcept;
    EmbeddedPicture& operator=(EmbeddedPicture&&) noexcept;
    ~EmbeddedPicture();

    bool isNull() const { return m_data == nullptr; }
    QSize size() const { return {m_width, m_height}; }

    // Draws the part of the picture inside `exposed`, its top-left corner at the painter's
    // origin. A strip that cannot be decompressed is left out.
    void paint(QPainter& painter, const QRect& exposed);
    // The whole picture; a null image when it is null or any strip is damaged.
    QImage toImage();

private:
    // Decompresses strip k into m_strip; returns its lines, 0 when it is damaged.
    int decodeStrip(int k);
    // Hands back the pages of strips first to last's compressed bytes (see m_letGo).
    void handBack(int first, int last);

    const uchar* m_data = nullptr;  // the offsets, then the blocks (checked to fit)
    int m_width = 0;
    int m_height = 0;
    int m_stripLines = 0;
    int m_stripCount = 0;
    bool m_letGo = false;  // the strips are in the program's file: hand their pages back
    QImage m_strip;        // one strip's lines
};

}  // namespace tervalen::shell
