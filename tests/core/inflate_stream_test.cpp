// The inflating stream: reads the file only as far as the reader needs, values across buffer
// boundaries, the end of the body and damaged data.
#include "core/InflateStream.h"
#include "tests/support/ReadHelpers.h"
#include "tests/support/WydWriter.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

#include <atomic>

using namespace wydtest;

namespace {

// A device over bytes that remembers how many it has handed out (asked from the test while the
// stream's thread reads).
class CountingDevice : public QIODevice {
public:
    explicit CountingDevice(QByteArray data) : data_(std::move(data)) { open(QIODevice::ReadOnly); }
    qint64 Served() const { return served_; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *to, qint64 max) override
    {
        const qint64 n = std::min<qint64>(max, data_.size() - served_);
        std::memcpy(to, data_.constData() + served_, static_cast<size_t>(n));
        served_ += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray data_;
    std::atomic<qint64> served_ = 0;
};

// Bytes that deflate hardly shrinks, so that file offsets follow body offsets.
QByteArray Noise(qsizetype size)
{
    QByteArray out(size, Qt::Uninitialized);
    quint32 x = 12345;
    for (qsizetype i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        out[i] = static_cast<char>(x >> 24);
    }
    return out;
}

} // namespace

TEST(InflateStream, ReadsTheFileOnlyAsFarAsNeeded)
{
    const QByteArray body = Noise(8 << 20);
    CountingDevice device(Compress(body));
    device.setTextModeEnabled(false);
    TInflateStream stream(device);
    EXPECT_EQ(stream.ReadU8(), static_cast<quint8>(body[0]));
    EXPECT_EQ(stream.Position(), 1);
    EXPECT_LT(device.Served(), 1 << 20) << "the body is inflated a few buffers ahead, not whole";
    std::vector<char> chunk(3 << 20);
    stream.Read(chunk.data(), chunk.size());
    EXPECT_EQ(QByteArrayView(chunk.data(), static_cast<qsizetype>(chunk.size())),
              QByteArrayView(body).sliced(1, 3 << 20));
    EXPECT_LT(device.Served(), 5 << 20);
}

TEST(InflateStream, ValuesAcrossBufferBoundaries)
{
    // A value is put at every offset around the buffer's size, so that some straddle it.
    QByteArray body = Noise(2 * TInflateStream::kMaxRun - 3);
    char b[4];
    qToLittleEndian<qint32>(-123456789, b);
    body.append(b, 4);
    qToLittleEndian<quint16>(0xBEEF, b);
    body.append(b, 2);
    const float f = 2.75f;
    quint32 bits;
    std::memcpy(&bits, &f, 4);
    qToLittleEndian(bits, b);
    body.append(b, 4);
    body.append(Noise(100));
    QBuffer device;
    device.setData(Compress(body));
    device.open(QIODevice::ReadOnly);
    TInflateStream stream(device);
    std::vector<char> skip(static_cast<size_t>(2 * TInflateStream::kMaxRun - 3));
    stream.Read(skip.data(), skip.size());
    EXPECT_EQ(stream.ReadI32(), -123456789);
    EXPECT_EQ(stream.ReadU16(), 0xBEEF);
    EXPECT_EQ(stream.ReadF32(), 2.75f);
    const char *run = stream.Need(100);
    EXPECT_EQ(QByteArrayView(run, 100), QByteArrayView(body).last(100));
    stream.Skip(100);
    EXPECT_THROW(stream.ReadU8(), EBodyEnded);
}

TEST(InflateStream, EndAndDamage)
{
    QBuffer device;
    device.setData(Compress("ab") + "trailing bytes");
    device.open(QIODevice::ReadOnly);
    TInflateStream stream(device);
    EXPECT_EQ(stream.ReadU16(), 'a' | ('b' << 8));
    EXPECT_TRUE(Raises<EBodyEnded>([&] { stream.ReadU8(); }, "Stream read error"));

    // The good bytes before a damaged block are handed out; the error comes after them.
    QBuffer damaged;
    damaged.setData(CompressThenBreak("xyz"));
    damaged.open(QIODevice::ReadOnly);
    TInflateStream broken(damaged);
    char three[3];
    broken.Read(three, 3);
    EXPECT_EQ(QByteArrayView(three, 3), QByteArrayView("xyz"));
    EXPECT_TRUE(Raises<ECompressionError>([&] { broken.ReadU8(); }, "error"));
    EXPECT_THROW(broken.ReadU8(), ECompressionError) << "and stays";
}

TEST(InflateStream, TheWrapperAroundTheBody)
{
    const QByteArray body = Noise(300000);
    const QByteArray good = Compress(body);
    struct Case {
        const char *name;
        QByteArray file;
        bool damaged; // else the body ends early, as a file cut short
        qsizetype readable;
    } cases[] = {
        {"checksum wrong", good.first(good.size() - 1) + char(good.back() ^ 1), true, body.size()},
        {"cut inside the checksum", good.first(good.size() - 2), false, body.size()},
        {"header check bits wrong", char(0x78) + QByteArray(1, char(0x9D)) + good.sliced(2), true, 0},
        {"preset dictionary asked for", QByteArray("\x78\xBB", 2) + good.sliced(2), true, 0},
        {"cut inside the header", good.first(1), false, 0},
    };
    for (const Case &c : cases) {
        QBuffer device;
        device.setData(c.file);
        device.open(QIODevice::ReadOnly);
        TInflateStream stream(device);
        std::vector<char> got(static_cast<size_t>(c.readable));
        stream.Read(got.data(), got.size());
        EXPECT_EQ(QByteArrayView(got.data(), c.readable), QByteArrayView(body).first(c.readable)) << c.name;
        if (c.damaged) {
            EXPECT_THROW(stream.ReadU8(), ECompressionError) << c.name;
        } else {
            EXPECT_THROW(stream.ReadU8(), EBodyEnded) << c.name;
            EXPECT_TRUE(stream.FileEnded()) << c.name;
        }
    }
}
