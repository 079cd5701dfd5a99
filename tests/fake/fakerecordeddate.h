// A recorded-date reader that knows the dates a test gives it, by path.
#pragma once

#include "core/recordeddate.h"

#include <map>

class FakeRecordedDateReader final : public RecordedDateReader
{
public:
    // Installs itself as the reader for its lifetime.
    FakeRecordedDateReader() { setRecordedDateReader(this); }
    ~FakeRecordedDateReader() override { setRecordedDateReader(nullptr); }
    FakeRecordedDateReader(const FakeRecordedDateReader&) = delete;
    FakeRecordedDateReader& operator=(const FakeRecordedDateReader&) = delete;

    std::map<std::string, FileTime> dates; // by the path the reader is asked with

    std::optional<FileTime> recordedDate(int /*fd*/, const std::string& path) override
    {
        const auto found = dates.find(path);
        return found == dates.end() ? std::nullopt : std::optional<FileTime>(found->second);
    }
};
