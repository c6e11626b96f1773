// The base of every failure this program reports. The description is kept whole: what() is a C
// string and would cut it at the first NUL, so the error report reads wholeDescription() instead.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace errors {

class DescribedError : public std::runtime_error {
public:
    // The description as bytes: UTF-8 text, with a file name's bytes as the file system has them.
    explicit DescribedError(std::string description)
        : std::runtime_error(description), description_(std::make_shared<const std::string>(std::move(description)))
    {
    }

    const std::string& wholeDescription() const noexcept { return *description_; }

private:
    // Shared, so that copying the exception cannot throw.
    std::shared_ptr<const std::string> description_;
};

}  // namespace errors
