#include "platform/text/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, PolishWindows1250BytesDecode)
{
    const QByteArray bytes("Za\xbf\xf3\xb3\xe6 g\xea\x9cl\xb9 ja\x9f\xf1");
    EXPECT_EQ(platform::DecodeCharset(bytes, 238), QString::fromUtf8("Zażółć gęślą jaźń"));
    // The host's default character set 186 and an unknown one decode as its own code page.
    EXPECT_EQ(platform::DecodeCharset(bytes, 186), QString::fromUtf8("Zażółć gęślą jaźń"));
    EXPECT_EQ(platform::DecodeCharset(bytes, 77), QString::fromUtf8("Zażółć gęślą jaźń"));
}

TEST(CodePage, OtherCharsetsUseTheirCodePages)
{
    EXPECT_EQ(platform::DecodeCharset(QByteArray("\xcf\xf0\xe8"), 204), QString::fromUtf8("При"));
    EXPECT_EQ(platform::DecodeCharset(QByteArray("\xe1"), 161), QString::fromUtf8("α"));
}
