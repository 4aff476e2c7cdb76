#include "common/Text.h"

#include <QStringDecoder>

namespace orven::text {

namespace {

// 0x80..0x9F of Windows-1252; 0 where the code page has no character.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int encode(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == u && u != 0)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

QString fromWindows1252(const QByteArray &bytes)
{
    QString s;
    s.resize(bytes.size());
    QChar *out = s.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0)
            *out++ = QChar(kHigh[b - 0x80]);
        else
            *out++ = QChar(b); // undefined bytes map to the C1 control of the same value
    }
    return s;
}

bool isWindows1252(QChar c) { return encode(c) >= 0; }

QByteArray toWindows1252(const QString &text, bool *lossless)
{
    QByteArray out;
    out.reserve(text.size());
    bool ok = true;
    for (const QChar c : text) {
        int b = encode(c);
        if (b < 0) {
            // C1 controls that the code page leaves undefined round-trip as themselves.
            if (c.unicode() >= 0x80 && c.unicode() < 0xA0) {
                b = c.unicode();
            } else {
                b = '?';
                ok = false;
            }
        }
        out.append(char(b));
    }
    if (lossless)
        *lossless = ok;
    return out;
}

QString decodeUtf8OrWindows1252(const QByteArray &bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(data);
    if (!utf8.hasError())
        return decoded;
    return fromWindows1252(data);
}

} // namespace orven::text
