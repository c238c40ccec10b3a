// The pictures embedded as compressed strips: the window icon shows the committed PNGs,
// a paint draws exactly the part it exposes, and damaged data never reads out of bounds.

#include "shell/embedded_picture.h"

#include <lz4.h>

#include <QPainter>
#include <QResource>
#include <QtTest>
#include <cstring>

#ifdef __linux__
#include <unistd.h>
#endif

#include "resources/strip_picture.h"
#include "shell/main_window.h"

using namespace tervalen;

namespace {

// The bytes of an embedded picture, to damage a copy of.
QByteArray resourceBytes(const QString& name) {
    const QResource resource(name);
    return QByteArray(reinterpret_cast<const char*>(resource.data()), resource.size());
}

QImage committed(const char* file) {
    return QImage(QStringLiteral(TERVALEN_SOURCE_DIR "/resources/") + QString::fromLatin1(file));
}

void putWord(QByteArray& bytes, qsizetype at, std::uint32_t value) {
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

std::uint32_t word(const QByteArray& bytes, qsizetype at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.constData() + at, sizeof value);
    return value;
}

constexpr qsizetype kHeader = sizeof(resources::StripPictureHeader);

#ifdef __linux__
// How many bytes of the pages of [data, data + size) are in the process's memory (from
// /proc/self/pagemap); -1 when it cannot be read.
int residentBytes(const uchar* data, qint64 size) {
    QFile pagemap(QStringLiteral("/proc/self/pagemap"));
    if (!pagemap.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return -1;
    const auto page = static_cast<quintptr>(sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<quintptr>(data) / page;
    const auto last = (reinterpret_cast<quintptr>(data) + static_cast<quintptr>(size) - 1) / page;
    int resident = 0;
    for (quintptr k = first; k <= last; ++k) {
        quint64 entry = 0;
        if (!pagemap.seek(static_cast<qint64>(k * sizeof entry)) ||
            pagemap.read(reinterpret_cast<char*>(&entry), sizeof entry) != sizeof entry)
            return -1;
        if (entry >> 63) resident += static_cast<int>(page);  // bit 63: present
    }
    return resident;
}
#endif

}  // namespace

class EmbeddedPictureTest : public QObject {
    Q_OBJECT
private slots:
    // Every size the window manager is given is the committed icon of that size, and no
    // larger one is made.
    void windowIconShowsTheCommittedIcons() {
        shell::MDIFangLei w;
        const QIcon icon = w.windowIcon();
        QCOMPARE(icon.availableSizes(),
                 (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64)}));
        for (const QSize size : icon.availableSizes()) {
            const QImage source =
                committed(qPrintable(QStringLiteral("icon%1.png").arg(size.width())))
                    .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QVERIFY(!source.isNull());
            const QImage shown =
                icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QCOMPARE(shown, source);
        }
    }

    // Strips are 32 lines: this rectangle starts inside one strip, crosses a whole one and
    // ends inside a third; outside it nothing may be drawn.
    void paintDrawsExactlyTheExposedPart() {
        const QImage source = committed("background.png").convertToFormat(QImage::Format_RGB32);
        auto picture = shell::EmbeddedPicture::embedded(QStringLiteral(":/background.strips"));
        QCOMPARE(picture.size(), source.size());
        const QColor marker(1, 2, 3);
        for (const QRect exposed : {QRect(100, 20, 300, 50), QRect(0, 0, 1, 1),
                                    QRect(900, 1250, 100, 100), QRect(-50, 60, 80, 4)}) {
            QImage canvas(1000, 1300, QImage::Format_RGB32);
            canvas.fill(marker);
            {
                QPainter p(&canvas);
                picture.paint(p, exposed);
            }
            const QRect drawn = exposed & source.rect();
            QCOMPARE(canvas.copy(drawn), source.copy(drawn));
            int outside = 0;
            for (int y = 0; y < canvas.height(); ++y)
                for (int x = 0; x < canvas.width(); ++x)
                    if (!drawn.contains(x, y) && canvas.pixelColor(x, y) != marker) ++outside;
            QCOMPARE(outside, 0);
        }
    }

#ifdef __linux__
    // The compressed strips are handed back as they are drawn: after painting the whole
    // background, few of its pages are still in the process's memory, and painting it
    // again (reading them back from the program's file) shows the same.
    void paintHandsBackTheStripsItRead() {
        const QResource resource(QStringLiteral(":/background.strips"));
        auto picture = shell::EmbeddedPicture::embedded(resource.fileName());
        const QImage source = committed("background.png").convertToFormat(QImage::Format_RGB32);
        for (int round = 0; round < 2; ++round) {
            QImage canvas(source.size(), QImage::Format_RGB32);
            {
                QPainter p(&canvas);
                picture.paint(p, canvas.rect());
            }
            QCOMPARE(canvas, source);
            // A page read maps the aligned 64 KiB around it (those already in the file
            // cache): the one holding the offsets and at most two around the last strips
            // read stay, of some 740 KiB.
            const int resident = residentBytes(resource.data(), resource.size());
            QVERIFY2(
                resident >= 0 && resident <= 3 * 64 * 1024,
                qPrintable(
                    QStringLiteral("%1 of %2 bytes resident").arg(resident).arg(resource.size())));
        }
    }
#endif

    void damagedLayoutGivesANullPicture_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = resourceBytes(QStringLiteral(":/background.strips"));
        const auto count = static_cast<qsizetype>(word(good, 28));
        const qsizetype blocks = kHeader + (count + 1) * 4;
        QVERIFY(count > 2);

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header cut short") << good.left(kHeader - 1);
        QTest::newRow("offsets cut short") << good.left(blocks - 1);
        QTest::newRow("last block cut short") << good.left(good.size() - 1);
        QByteArray b = good;
        b[0] = 'X';
        QTest::newRow("wrong magic") << b;
        b = good;
        putWord(b, 20, QImage::Format_Indexed8);
        QTest::newRow("unknown pixel format") << b;
        b = good;
        putWord(b, 28, static_cast<std::uint32_t>(count + 1));
        QTest::newRow("strip count not from the height") << b;
        b = good;
        putWord(b, 24, 0);
        QTest::newRow("no lines to a strip") << b;
        b = good;
        putWord(b, 16, 4);
        QTest::newRow("line length not the width's") << b;
        b = good;
        putWord(b, kHeader + 2 * 4, word(good, kHeader + 1 * 4) - 1);
        QTest::newRow("offsets going back") << b;
        b = good;
        putWord(b, kHeader, 1);
        QTest::newRow("first offset not at the blocks") << b;
        b = good;
        putWord(b, kHeader + count * 4, 0xFFFFFFF0u);
        QTest::newRow("last offset past the end") << b;
    }
    void damagedLayoutGivesANullPicture() {
        QFETCH(QByteArray, bytes);
        auto picture =
            shell::EmbeddedPicture(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
        QVERIFY(picture.isNull());
        QVERIFY(picture.toImage().isNull());
        QImage canvas(8, 8, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        picture.paint(p, canvas.rect());  // draws nothing, reads nothing
        p.end();
        QCOMPARE(canvas.pixelColor(0, 0), QColor(Qt::white));
    }

    // A strip whose block is damaged, or decompresses to more or fewer bytes than its lines
    // hold, is left out; the strips around it still show.
    void damagedStripIsLeftOut_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = resourceBytes(QStringLiteral(":/background.strips"));
        const auto count = static_cast<qsizetype>(word(good, 28));
        const qsizetype blocks = kHeader + (count + 1) * 4;
        const qsizetype second = blocks + word(good, kHeader + 4);
        const qsizetype third = blocks + word(good, kHeader + 8);
        const qsizetype lineBytes = word(good, 16);
        // Strip 1 replaced by `block`, the later offsets moved to match.
        const auto withSecond = [&](const QByteArray& block) {
            QByteArray b = good.left(second) + block + good.mid(third);
            const auto shift = static_cast<std::uint32_t>(block.size() - (third - second));
            for (qsizetype k = 2; k <= count; ++k)
                putWord(b, kHeader + k * 4, word(good, kHeader + k * 4) + shift);
            return b;
        };
        const auto compressed = [](qsizetype bytes) {
            const QByteArray raw(bytes, '\0');
            QByteArray out(LZ4_compressBound(static_cast<int>(bytes)), '\0');
            const int size = LZ4_compress_default(
                raw.constData(), out.data(), static_cast<int>(bytes), static_cast<int>(out.size()));
            return out.left(size);
        };
        QByteArray flipped = good;
        for (qsizetype i = second + 2; i < third; ++i) flipped[i] = static_cast<char>(~flipped[i]);
        QTest::newRow("bytes flipped") << flipped;
        QTest::newRow("one line short") << withSecond(compressed(31 * lineBytes));
        QTest::newRow("one line too many") << withSecond(compressed(33 * lineBytes));
        QTest::newRow("bytes after the block")
            << withSecond(good.mid(second, third - second) + QByteArray(4, '\x7f'));
    }
    void damagedStripIsLeftOut() {
        QFETCH(QByteArray, bytes);
        shell::EmbeddedPicture picture(reinterpret_cast<const uchar*>(bytes.constData()),
                                       bytes.size());
        QVERIFY(!picture.isNull());
        QVERIFY(picture.toImage().isNull());

        const QImage source = committed("background.png").convertToFormat(QImage::Format_RGB32);
        const int w = source.width();
        QImage canvas(w, 96, QImage::Format_RGB32);
        canvas.fill(Qt::black);
        {
            QPainter p(&canvas);
            picture.paint(p, canvas.rect());
        }
        QCOMPARE(canvas.copy(0, 0, w, 32), source.copy(0, 0, w, 32));
        QImage blank(w, 32, QImage::Format_RGB32);
        blank.fill(Qt::black);
        QCOMPARE(canvas.copy(0, 32, w, 32), blank);
        QCOMPARE(canvas.copy(0, 64, w, 32), source.copy(0, 64, w, 32));
    }
};

QTEST_MAIN(EmbeddedPictureTest)
#include "embedded_picture_test.moc"
