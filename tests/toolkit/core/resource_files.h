#pragma once
// Resource files made on disk for the Resource Manager's tests, in a fresh directory per test.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
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
    ScratchDirectory() : path_(dir_.Path()) {
        qiva::SetResourcePaths({dir_.Path(), dir_.Path(), dir_.Path()});
    }
    ~ScratchDirectory() { qiva::SetResourcePaths({}); }

    std::string Path(const std::string& name) const { return (path_ / name).string(); }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream out(Path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return Path(name);
    }

    const std::filesystem::path& Root() const { return path_; }

private:
    TempDir dir_;
    std::filesystem::path path_;
};

} // namespace qiva_test
