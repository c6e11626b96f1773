// The one failure of the file library: what was being done, to which path, and why in plain words
// ("No space left on device", "it is a folder"), so that callers can word their own message.
#pragma once

#include "errors/DescribedError.h"

#include <string>

namespace fileio {

class FileError : public errors::DescribedError {
public:
    enum class Operation { Read, Write, CreateFolder };

    FileError(Operation operation, std::string path, std::string reason)
        : errors::DescribedError(sentence(operation, path, reason)), operation_(operation), path_(std::move(path)),
          reason_(std::move(reason))
    {
    }

    Operation operation() const { return operation_; }
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    static std::string sentence(Operation operation, const std::string& path, const std::string& reason)
    {
        const char* verb = operation == Operation::Read    ? "Cannot read \""
                           : operation == Operation::Write ? "Cannot write \""
                                                           : "Cannot create the folder \"";
        return verb + path + "\": " + reason;
    }

    Operation operation_;
    std::string path_;
    std::string reason_;
};

}  // namespace fileio
