// What a later start of Stampkeep hands to the running one: its parsed record, its working folder, every
// specification it accepted, byte for byte, and the options beside the record, framed for the local connection.
#pragma once

#include "core/commandline.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct HandOffMessage
{
    TTouchSettings record{};
    std::string workingFolder; // where the relative specifications were found
    std::vector<std::string> specs;
    bool subfolders = false; // the specifications also match in every folder below their own
};

// The later start's first byte wakes the running instance; the frame follows, and the running instance answers
// with one byte once it has read the whole frame.
constexpr char kHandOffWakeUp = 0x01;
constexpr char kHandOffReceived = 0x06;
// The length of a frame's body comes first, in 4 bytes, little-endian.
constexpr std::size_t kHandOffLengthSize = 4;
// Far above the longest command line the system passes to a program (a few MiB).
constexpr std::size_t kMaxHandOffBody = 64u << 20;

// The frame: the body's length, then the body.
std::string encodeHandOff(const HandOffMessage& message);
// The body's length announced by a frame's first bytes; nothing when fewer than kHandOffLengthSize are given.
std::optional<std::size_t> handOffBodyLength(std::string_view frameStart);
// A body as it was encoded; nothing when it is not one (cut short, lengths that do not add up, bytes left over).
std::optional<HandOffMessage> decodeHandOffBody(std::string_view body);
