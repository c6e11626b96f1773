// A fault sweep over a save: the n-th step the file library reaches fails, for n = 1, 2, ...,
// until a run gets through without reaching it. After a run that fails, every target holds what
// it held before (or is absent, as before) and no temporary file is left; the error names a
// target. A run that gets through despite the failure (a step that is only an attempt) leaves the
// new contents. Header-only, for the file library's tests and the engine's.
#pragma once

#include "fileio/AtomicWrite.h"
#include "fileio/TestHooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fileio_test {

struct SweptTarget {
    std::string path;
    std::optional<std::string> before;  // nothing: absent before the save
    // The saved contents, or nothing when they cannot be known in advance: then they only have to
    // differ from `before` and start with `leading`.
    std::optional<std::string> after;
    std::string leading;
};

namespace sweep_detail {

inline std::optional<std::string> contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline std::vector<std::string> entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline std::vector<std::string> namesOf(const std::vector<SweptTarget>& targets, bool onlyThoseBefore)
{
    std::vector<std::string> names;
    for (const SweptTarget& target : targets)
        if (!onlyThoseBefore || target.before)
            names.push_back(std::filesystem::path(target.path).filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace sweep_detail

// Every target is in `folder`, which holds nothing else. `save` throws on failure. Returns the
// number of steps a save takes.
inline int sweepFaults(const std::string& folder, const std::vector<SweptTarget>& targets, const std::function<void()>& save,
                       int error = EIO)
{
    using fileio::test_hooks::Step;
    for (int n = 1; n < 10000; ++n) {
        SCOPED_TRACE("step " + std::to_string(n) + " fails");
        for (const SweptTarget& target : targets) {
            std::remove(target.path.c_str());
            if (target.before)
                std::ofstream(target.path, std::ios::binary) << *target.before;
        }
        int reached = 0;
        std::optional<Step> failed;
        fileio::test_hooks::setFault([&](Step step) {
            if (++reached != n)
                return 0;
            failed = step;
            return error;
        });
        std::optional<std::string> message;
        try {
            save();
        } catch (const std::exception& e) {
            const auto* described = dynamic_cast<const errors::DescribedError*>(&e);
            message = described ? described->wholeDescription() : e.what();
        }
        fileio::test_hooks::setFault({});

        if (message) {
            EXPECT_TRUE(failed) << "failed with no fault: " << *message;
            EXPECT_TRUE(std::any_of(targets.begin(), targets.end(),
                                    [&](const SweptTarget& target) { return message->find(target.path) != std::string::npos; }))
                << *message;
            for (const SweptTarget& target : targets)
                EXPECT_EQ(sweep_detail::contents(target.path), target.before) << target.path;
            EXPECT_EQ(sweep_detail::entries(folder), sweep_detail::namesOf(targets, true));
            continue;
        }
        for (const SweptTarget& target : targets) {
            const auto saved = sweep_detail::contents(target.path);
            if (target.after) {
                EXPECT_EQ(saved, target.after) << target.path;
            } else {
                EXPECT_NE(saved, target.before) << target.path;
                EXPECT_TRUE(saved && saved->starts_with(target.leading)) << target.path;
            }
        }
        if (failed == Step::Unlink) {
            // A name that could not be removed goes with the next write into the folder.
            fileio::writeFile(folder + "/next", "");
            std::remove((folder + "/next").c_str());
        }
        EXPECT_EQ(sweep_detail::entries(folder), sweep_detail::namesOf(targets, false));
        if (!failed)
            return n - 1;
    }
    ADD_FAILURE() << "the save never got through";
    return 0;
}

}  // namespace fileio_test
