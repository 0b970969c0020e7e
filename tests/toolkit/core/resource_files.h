#pragma once
// Resource files made on disk for the Resource Manager's tests, in a fresh directory per test.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/core/file_search.h"
#include "toolkit/core/resource_format.h"

namespace qiva_test {

inline qiva::Resource MakeResource(const char (&type)[5], std::int16_t id, const std::string& data,
                                   std::optional<std::string> name = std::nullopt,
                                   std::uint8_t attributes = 0) {
    qiva::Resource r;
    r.type = MakeResType(type);
    r.id = id;
    r.name = std::move(name);
    r.attributes = attributes;
    r.data.assign(data.begin(), data.end());
    return r;
}

inline std::vector<std::uint8_t> FileImage(const std::vector<qiva::Resource>& resources,
                                           qiva::MapLayout layout = qiva::MapLayout::Scrambled) {
    std::vector<std::uint8_t> image;
    std::string error;
    EXPECT_TRUE(qiva::WriteResourceFile(resources, layout, image, error)) << error;
    return image;
}

// A scratch directory that is also every slot of the file search, so that no test locates the
// installed system directory.
class ScratchDirectory {
public:
    ScratchDirectory() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // Short: the toolkit refuses file names of 80 characters or more.
        const std::size_t key = std::hash<std::string>{}(std::string(info->test_suite_name()) + info->name());
        path_ = std::filesystem::path(::testing::TempDir()) / ("q" + std::to_string(key % 1000000007));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        qiva::SetResourcePaths({path_.string(), path_.string(), path_.string()});
    }
    ~ScratchDirectory() {
        qiva::SetResourcePaths({});
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    std::string Path(const std::string& name) const { return (path_ / name).string(); }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream out(Path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return Path(name);
    }

    const std::filesystem::path& Root() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace qiva_test
