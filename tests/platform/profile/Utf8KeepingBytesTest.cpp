#include "platform/profile/Utf8KeepingBytes.h"

#include <random>

#include <gtest/gtest.h>

namespace fenu {
namespace {

QByteArray RandomBytes(std::mt19937& random, int length) {
    // Mostly the bytes UTF-8 is made of, so that sequences are often nearly right.
    static constexpr char Pool[] = {'a',    '=',    '\n',   '\xC3', '\xA4', '\xE2', '\x82',
                                    '\xAC', '\xF0', '\x9F', '\x98', '\x80', '\xED', '\xA0',
                                    '\xC0', '\xF4', '\x90', '\xBF', '\xFF', '\x80'};
    std::uniform_int_distribution<int> pick(0, 3 * static_cast<int>(sizeof Pool) - 1);
    QByteArray bytes;
    for (int i = 0; i < length; ++i) {
        const int p = pick(random);
        bytes.append(p < static_cast<int>(sizeof Pool) ? Pool[p] : static_cast<char>(p * 37));
    }
    return bytes;
}

TEST(Utf8KeepingBytes, AnyBytesDecodeAndEncodeBackToThemselves) {
    std::mt19937 random(5);
    for (int i = 0; i < 20'000; ++i) {
        const QByteArray bytes = RandomBytes(random, i % 40);
        const QString text = FromUtf8KeepingBytes(bytes);
        ASSERT_EQ(ToUtf8KeepingBytes(text), bytes);
        // Lines joined again, as a settings file writes them, read back the same.
        const QString joined = text + u'\n' + text;
        ASSERT_EQ(FromUtf8KeepingBytes(ToUtf8KeepingBytes(joined)), joined);
    }
}

TEST(Utf8KeepingBytes, WellFormedTextReadsAsUtf8AndEveryOtherByteStaysItself) {
    const QString text = QStringLiteral("K=\u00e4\u20ac\U0001F600\U00010080");
    EXPECT_EQ(FromUtf8KeepingBytes(text.toUtf8()), text);
    EXPECT_EQ(ToUtf8KeepingBytes(text), text.toUtf8());
    // Overlong, encoded surrogate, beyond U+10FFFF, cut short, stray continuation.
    for (const QByteArray& bad :
         {QByteArray("\xC0\xAF"), QByteArray("\xED\xA0\x80"), QByteArray("\xF4\x90\x80\x80"),
          QByteArray("\xE2\x82"), QByteArray("\x80")}) {
        const QString decoded = FromUtf8KeepingBytes(bad);
        ASSERT_EQ(decoded.size(), bad.size()) << bad.toHex().toStdString();
        for (qsizetype i = 0; i < bad.size(); ++i)
            EXPECT_EQ(decoded[i].unicode(), 0xDC00 + static_cast<uint8_t>(bad[i]));
    }
    EXPECT_EQ(ToUtf8KeepingBytes(QString(QChar(0xD83D))), "?") << "half a character";
}

} // namespace
} // namespace fenu
