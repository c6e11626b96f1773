// Text that comes from the system as bytes (program arguments, the environment, file names) and
// goes back to it. Bytes that are not UTF-8 are carried through a QString as U+DC80..U+DCFF, one
// for each byte, so a name like "caf\xE9.xls" reaches the file system exactly as it was given.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace app {

// UTF-8 decoded; every byte that is not part of a valid UTF-8 sequence becomes U+DC00 + byte.
QString fromSystemBytes(std::string_view bytes);
// The bytes the file system gets for a path held as text: UTF-8, and each U+DC80..U+DCFF back to
// the byte it stands for.
std::string toSystemBytes(const QString& text);

}  // namespace app
