// The one exception type of the spreadsheet engine. Its message is the description a user reads in
// the error report ("Invalid range address: IW1"), so every layer of the engine throws it as is.
#pragma once

#include <stdexcept>
#include <string>

namespace sheet {

class SheetError : public std::runtime_error {
public:
    explicit SheetError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace sheet
