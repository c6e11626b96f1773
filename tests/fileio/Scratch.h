// A folder of its own for each file-library test, with small readers for what ends up in it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>

namespace fileio_test {

class Scratch : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string path(const std::string& name) const { return folder + "/" + name; }
    // Every entry of the folder, hidden ones included, sorted.
    std::vector<std::string> entries() const;
    static void put(const std::string& path, const std::string& bytes, mode_t mode = 0644);
    static std::string read(const std::string& path);
    static mode_t modeOf(const std::string& path);

    std::string folder;
};

}  // namespace fileio_test
