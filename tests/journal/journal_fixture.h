// A small image without sectors of any kind and a session over it, for the change log's tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "journal/image_session.h"
#include "test_files.h"

namespace tavrel::testing {

class JournalTest : public ::testing::Test {
protected:
    static constexpr std::size_t kImageSize = 64 * 1024;

    void SetUp() override { writeWholeFile(image, original()); }

    static const Bytes& original() {
        static const Bytes bytes = [] {
            Bytes pattern(kImageSize);
            for (std::size_t i = 0; i < pattern.size(); ++i)
                pattern[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
            return pattern;
        }();
        return bytes;
    }

    // Changes each byte at `offset` to its complement, through the session's log.
    static void flip(ImageSession& session, std::int64_t offset, std::size_t count,
                     const std::string& description) {
        ByteChange change{offset, session.file().read(offset, count), {}};
        for (const std::uint8_t byte : change.before)
            change.after.push_back(static_cast<std::uint8_t>(~byte));
        session.apply({{change}, description});
    }

    // "3 D Salva": each record's sequence, state and description.
    static std::vector<std::string> summary(const std::vector<ChangeRecord>& records) {
        std::vector<std::string> lines;
        for (const ChangeRecord& r : records)
            lines.push_back(std::to_string(r.sequence) + " " + static_cast<char>(r.state) + " " +
                            r.description);
        return lines;
    }

    std::vector<std::string> asideFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name.find(".tavrel-log.") != std::string::npos)
                names.push_back(name);
        }
        return names;
    }

    TempDir dir;
    std::string image = dir.file("image.bin");
    std::string log = ChangeLog::pathFor(image);
};

}  // namespace tavrel::testing
