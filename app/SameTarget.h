// Whether two paths given for writing would end in the same file: the same existing file (device
// and inode, after following links), or the same name in the same folder for a file still to be
// made, also when one path reaches it through a link that points at a file not made yet.
#pragma once

#include <QString>

namespace app {

bool sameTarget(const QString& first, const QString& second);

}  // namespace app
