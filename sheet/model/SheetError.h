// The one exception type of the spreadsheet engine. Its message is the description a user reads in
// the error report ("Invalid range address: IW1"), so every layer of the engine throws it as is.
// The description is kept whole (a cell text or a file name may hold any byte).
#pragma once

#include "errors/DescribedError.h"

#include <string>

namespace sheet {

class SheetError : public errors::DescribedError {
public:
    explicit SheetError(const std::string& message) : errors::DescribedError(message) {}
};

}  // namespace sheet
