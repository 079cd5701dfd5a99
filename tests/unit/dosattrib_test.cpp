// Decoding and encoding of the `user.DOSATTRIB` value.
#include "platform/dosattrib.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// 2001-05-06 13:14:15 UTC.
constexpr FileTime kCreated = 126336284550000000;

const Bytes kVersion4 = {0x00, 0x00, 0x04, 0x00, 0x04, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00,
                         0x00, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                         0x00, 0x00, 0x80, 0x6D, 0xD8, 0x72, 0x2E, 0xD6, 0xC0, 0x01};
const Bytes kVersion5 = {0x00, 0x00, 0x05, 0x00, 0x05, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x00,
                         0x20, 0x00, 0x00, 0x00, 0x80, 0x6D, 0xD8, 0x72, 0x2E, 0xD6, 0xC0, 0x01};

Bytes version3Bytes()
{
    Bytes value = {0x30, 0x78, 0x32, 0x30, 0x00, 0x00, 0x03, 0x00, 0x03, 0x00,
                   0x00, 0x00, 0x11, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00};
    value.insert(value.end(), 20, 0x00);
    value.insert(value.end(), {0x80, 0x6D, 0xD8, 0x72, 0x2E, 0xD6, 0xC0, 0x01});
    value.insert(value.end(), 8, 0x00);
    return value;
}

std::optional<DosAttrib> decode(const Bytes& value)
{
    return decodeDosAttrib(value);
}

Bytes asBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

TEST(DosAttribTest, EncodesVersion4AsSambaAndKsmbdReadIt)
{
    const DosAttribBytes bytes = encodeDosAttrib(0x20, kCreated);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), kVersion4);
}

// The worked examples of three versions carry the same archive bit and creation time.
TEST(DosAttribTest, DecodesTheWorkedExamples)
{
    for (const Bytes& value : {kVersion4, kVersion5, version3Bytes()}) {
        const std::optional<DosAttrib> decoded = decode(value);
        ASSERT_TRUE(decoded) << value.size() << " bytes";
        EXPECT_EQ(decoded->attrib, 0x20u);
        EXPECT_EQ(decoded->createTime, kCreated);
    }
}

TEST(DosAttribTest, EncodedValuesDecodeToWhatWasEncoded)
{
    const DosAttribBytes bytes = encodeDosAttrib(0x1227, 1);
    const std::optional<DosAttrib> decoded = decodeDosAttrib(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->attrib, 0x1227u);
    EXPECT_EQ(decoded->createTime, FileTime{1});
}

// Version 3's structure starts after a text of any length, so its offsets move with the text.
TEST(DosAttribTest, Version3FindsItsStructureAfterALongerText)
{
    Bytes value = {'0',  'x',  '1',  '2',  '2',  '7',  0x00, 0x00, 0x03, 0x00,
                   0x03, 0x00, 0x11, 0x00, 0x00, 0x00, 0x27, 0x12, 0x00, 0x00};
    value.insert(value.end(), 20, 0x00);
    value.insert(value.end(), {0x80, 0x6D, 0xD8, 0x72, 0x2E, 0xD6, 0xC0, 0x01});
    value.insert(value.end(), 8, 0x00);
    const std::optional<DosAttrib> decoded = decode(value);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->attrib, 0x1227u);
    EXPECT_EQ(decoded->createTime, kCreated);
}

// The creation time counts only when it is set and, from version 3 on, flagged valid; the attributes always count.
TEST(DosAttribTest, CreationTimeNeedsItsFlagAndAValue)
{
    Bytes unflagged = kVersion4;
    unflagged[8] = 0x01;
    ASSERT_TRUE(decode(unflagged));
    EXPECT_EQ(decode(unflagged)->attrib, 0x20u);
    EXPECT_FALSE(decode(unflagged)->createTime);

    Bytes zero = kVersion5;
    std::fill(zero.begin() + 16, zero.end(), 0x00);
    ASSERT_TRUE(decode(zero));
    EXPECT_FALSE(decode(zero)->createTime);

    Bytes noFlags = kVersion5;
    noFlags[8] = 0x00;
    ASSERT_TRUE(decode(noFlags));
    EXPECT_EQ(decode(noFlags)->attrib, 0x20u);
}

// Version 1 has no flags: attrib first, creation time at 24.
TEST(DosAttribTest, DecodesVersion1AndTheAttributesOfVersion2)
{
    Bytes version1 = {0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00};
    version1.insert(version1.end(), 20, 0x00);
    version1.insert(version1.end(), {0x80, 0x6D, 0xD8, 0x72, 0x2E, 0xD6, 0xC0, 0x01});
    version1.insert(version1.end(), 8, 0x00);
    ASSERT_TRUE(decode(version1));
    EXPECT_EQ(decode(version1)->attrib, 0x06u);
    EXPECT_EQ(decode(version1)->createTime, kCreated);

    Bytes version2 = {0x00, 0x00, 0x02, 0x00, 0x02, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x21, 0x00, 0x00, 0x00};
    version2.insert(version2.end(), 40, 0x11);
    ASSERT_TRUE(decode(version2));
    EXPECT_EQ(decode(version2)->attrib, 0x21u);
    EXPECT_FALSE(decode(version2)->createTime);
}

// The oldest form is nothing but the attributes as hex text, with or without its terminating NUL.
TEST(DosAttribTest, DecodesTheLegacyText)
{
    for (const Bytes& value : {asBytes("0x6"), asBytes(std::string("0x6\0", 4)), asBytes("6")}) {
        const std::optional<DosAttrib> decoded = decode(value);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->attrib, 0x6u);
        EXPECT_FALSE(decoded->createTime);
    }
    EXPECT_EQ(decode(asBytes("0x1A20"))->attrib, 0x1A20u);
}

// Whatever is damaged or unknown counts as no stored value, and is never read past its end.
TEST(DosAttribTest, RejectsDamagedAndUnknownValues)
{
    Bytes differingVersions = kVersion4;
    differingVersions[4] = 0x05;
    Bytes unknownVersion = kVersion4;
    unknownVersion[2] = unknownVersion[4] = 0x06;
    Bytes tooLong = kVersion4;
    tooLong.resize(257, 0x00);
    const Bytes version3 = version3Bytes();

    const std::vector<Bytes> rejected = {
        {},
        Bytes(kVersion4.begin(), kVersion4.end() - 1),
        Bytes(kVersion4.begin(), kVersion4.begin() + 5),
        Bytes(kVersion5.begin(), kVersion5.end() - 1),
        Bytes(version3.begin(), version3.end() - 1),
        differingVersions,
        unknownVersion,
        tooLong,
        asBytes("0x"),
        asBytes("0xZZ"),
        asBytes("0x123456789"),
        asBytes(std::string("\0", 1)),
        {0xFF, 0x00, 0x01},
    };
    for (std::size_t i = 0; i < rejected.size(); ++i)
        EXPECT_FALSE(decode(rejected[i])) << "value " << i;
}

TEST(DosAttribTest, IgnoresBytesAfterTheStructureUpToTheLimit)
{
    Bytes value = kVersion5;
    value.resize(256, 0xEE);
    ASSERT_TRUE(decode(value));
    EXPECT_EQ(decode(value)->createTime, kCreated);
}

} // namespace
