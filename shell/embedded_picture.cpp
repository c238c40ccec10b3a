#include "shell/embedded_picture.h"

#include <lz4.h>

#include <QPainter>
#include <QResource>
#include <algorithm>
#include <cstdint>
#include <cstring>

#ifdef __linux__
#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "resources/strip_picture.h"

namespace tervalen::shell {

namespace {

using resources::StripPictureHeader;

std::uint32_t offsetAt(const uchar* offsets, qint64 k) {
    std::uint32_t value = 0;
    std::memcpy(&value, offsets + k * qint64{sizeof value}, sizeof value);
    return value;
}

qint64 offsetTableBytes(qint64 stripCount) {
    return (stripCount + 1) * qint64{sizeof(std::uint32_t)};
}

// Whether `data` lies in a file the program has loaded (its own read-only data): memory
// whose pages can be handed back and are read again from the file when touched.
bool inLoadedFile(const uchar* data) {
#ifdef __linux__
    Dl_info info{};
    return data && dladdr(data, &info) != 0 && info.dli_fbase != nullptr;
#else
    Q_UNUSED(data);
    return false;
#endif
}

// Hands back the pages wholly inside [from, from + size) of a read-only file mapping:
// they leave the process's memory and stay in the system's file cache, from where the
// next read of them maps them again.
void letGo(const uchar* from, std::size_t size) {
#ifdef __linux__
    static const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    // From the first page boundary at or after `from` to the last one at or before its end.
    const std::size_t skip = (page - reinterpret_cast<std::uintptr_t>(from) % page) % page;
    if (size <= skip) return;
    const std::size_t length = (size - skip) / page * page;
    if (length > 0) madvise(const_cast<uchar*>(from) + skip, length, MADV_DONTNEED);
#else
    Q_UNUSED(from);
    Q_UNUSED(size);
#endif
}

}  // namespace

EmbeddedPicture::EmbeddedPicture(const uchar* data, qint64 size) {
    StripPictureHeader h{};
    if (!data || size < qint64{sizeof h}) return;
    std::memcpy(&h, data, sizeof h);
    const qint64 lines = h.stripLines;
    if (std::memcmp(h.magic, resources::kStripPictureMagic, sizeof h.magic) != 0 ||
        (h.format != QImage::Format_RGB888 && h.format != QImage::Format_ARGB32_Premultiplied) ||
        h.width == 0 || h.height == 0 || h.width > 32768 || h.height > 32768 || lines == 0 ||
        lines > 4096 || h.stripCount != (h.height + lines - 1) / lines)
        return;
    const auto format = static_cast<QImage::Format>(h.format);
    QImage strip(static_cast<int>(h.width), static_cast<int>(lines), format);
    if (strip.isNull() || strip.bytesPerLine() != qsizetype{h.bytesPerLine}) return;
    // The offsets must fit, start at the blocks and never go back; the last ends them.
    const uchar* offsets = data + sizeof h;
    const qint64 table = offsetTableBytes(h.stripCount);
    if (size - qint64{sizeof h} < table) return;
    if (offsetAt(offsets, 0) != 0) return;
    for (qint64 k = 1; k <= h.stripCount; ++k)
        if (offsetAt(offsets, k) < offsetAt(offsets, k - 1)) return;
    if (offsetAt(offsets, h.stripCount) > size - qint64{sizeof h} - table) return;

    m_data = offsets;
    m_width = static_cast<int>(h.width);
    m_height = static_cast<int>(h.height);
    m_stripLines = static_cast<int>(lines);
    m_stripCount = static_cast<int>(h.stripCount);
    m_strip = std::move(strip);
}

EmbeddedPicture EmbeddedPicture::embedded(const QString& name) {
    // Stored without rcc's compression: the strips are read in place from the program.
    const QResource resource(name);
    if (resource.compressionAlgorithm() != QResource::NoCompression) return {nullptr, 0};
    EmbeddedPicture picture(resource.data(), resource.size());
    // Compiled into the program, the strips are read from its file: a paint hands back
    // the pages of each strip once it has decompressed it, so that showing the picture
    // holds the compressed bytes of a strip or two at a time, not of everything shown.
    picture.m_letGo = inLoadedFile(resource.data());
    return picture;
}

EmbeddedPicture::EmbeddedPicture(EmbeddedPicture&&) noexcept = default;
EmbeddedPicture& EmbeddedPicture::operator=(EmbeddedPicture&&) noexcept = default;
EmbeddedPicture::~EmbeddedPicture() = default;

int EmbeddedPicture::decodeStrip(int k) {
    if (isNull() || k < 0 || k >= m_stripCount) return 0;
    const int lines = std::min(m_stripLines, m_height - k * m_stripLines);
    const std::uint32_t begin = offsetAt(m_data, k), end = offsetAt(m_data, k + 1);
    const uchar* blocks = m_data + offsetTableBytes(m_stripCount);
    const auto bytesPerLine = static_cast<std::size_t>(m_strip.bytesPerLine());
    const auto expected = static_cast<int>(bytesPerLine * lines);
    // LZ4's safe decoder reads only the block and writes only within the strip; a block
    // that fills the strip short, or would overfill it, counts as damaged.
    if (end - begin > static_cast<std::uint32_t>(LZ4_compressBound(expected)) ||
        LZ4_decompress_safe(reinterpret_cast<const char*>(blocks + begin),
                            reinterpret_cast<char*>(m_strip.bits()), static_cast<int>(end - begin),
                            expected) != expected)
        return 0;
    resources::restoreLines(m_strip.bits(), bytesPerLine, static_cast<std::size_t>(lines));
    return lines;
}

void EmbeddedPicture::handBack(int first, int last) {
    // From the first strip of the pass on, not only the last one's: a page read maps the
    // pages around it too, those of strips already handed back among them.
    if (!m_letGo) return;
    const std::uint32_t begin = offsetAt(m_data, first), end = offsetAt(m_data, last + 1);
    letGo(m_data + offsetTableBytes(m_stripCount) + begin, end - begin);
}

void EmbeddedPicture::paint(QPainter& painter, const QRect& exposed) {
    const QRect area = exposed & QRect(0, 0, m_width, m_height);
    if (isNull() || area.isEmpty()) return;
    const int first = area.top() / m_stripLines;
    for (int k = first; k <= area.bottom() / m_stripLines; ++k) {
        const int top = k * m_stripLines;
        const QRect part = area & QRect(0, top, m_width, decodeStrip(k));
        handBack(first, k);
        if (part.isEmpty()) continue;
        painter.drawImage(part.topLeft(), m_strip, part.translated(0, -top));
    }
}

QImage EmbeddedPicture::toImage() {
    if (isNull()) return {};
    QImage image(m_width, m_height, m_strip.format());
    for (int k = 0; k < m_stripCount; ++k) {
        const int lines = decodeStrip(k);
        handBack(0, k);
        if (lines == 0) return {};
        for (int y = 0; y < lines; ++y)
            std::memcpy(image.scanLine(k * m_stripLines + y), m_strip.constScanLine(y),
                        static_cast<std::size_t>(m_strip.bytesPerLine()));
    }
    return image;
}

}  // namespace tervalen::shell
