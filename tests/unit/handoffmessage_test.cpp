// The later start's message to the running Stampkeep: what is framed arrives as it was, and nothing else is taken.
#include "core/handoffmessage.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

HandOffMessage sample()
{
    HandOffMessage message;
    InitTouchSettings(message.record);
    message.record.ArchiveChange = 1;
    message.record.Increment = 45;
    message.workingFolder = "/home/user/photos";
    message.specs = {"a.jpg", std::string("bad\xff\xfe\0name", 10), "q\"uote.txt", std::string(5000, 'n')};
    return message;
}

TEST(HandOffMessage, WhatIsFramedArrivesByteForByte)
{
    const HandOffMessage sent = sample();
    const std::string frame = encodeHandOff(sent);
    ASSERT_EQ(handOffBodyLength(frame), frame.size() - kHandOffLengthSize);
    const std::optional<HandOffMessage> received =
        decodeHandOffBody(std::string_view(frame).substr(kHandOffLengthSize));
    ASSERT_TRUE(received);
    EXPECT_EQ(std::memcmp(&received->record, &sent.record, sizeof sent.record), 0);
    EXPECT_EQ(received->workingFolder, sent.workingFolder);
    EXPECT_EQ(received->specs, sent.specs);
}

// A body cut anywhere, one with bytes left over, or one whose count of specifications is out of all proportion is no
// message.
TEST(HandOffMessage, DamagedBodiesAreRefused)
{
    const std::string body = encodeHandOff(sample()).substr(kHandOffLengthSize);
    for (std::size_t cut : {std::size_t{0}, std::size_t{335}, std::size_t{340}, body.size() - 1})
        EXPECT_FALSE(decodeHandOffBody(std::string_view(body).substr(0, cut))) << cut;
    EXPECT_FALSE(decodeHandOffBody(body + "x"));

    std::string hugeCount = body.substr(0, 336 + 4 + 17);
    hugeCount += std::string("\xff\xff\xff\x7f", 4);
    EXPECT_FALSE(decodeHandOffBody(hugeCount));
    EXPECT_FALSE(handOffBodyLength("\x01\x02"));
}

} // namespace
