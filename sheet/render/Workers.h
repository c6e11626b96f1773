// Independent pieces of one job run side by side on the machine's cores: a big picture's strips
// are painted and its PNG parts packed this way.
#pragma once

#include <cstddef>
#include <functional>

namespace sheet::render {

// Calls work(i) for every i in [0, count), on up to `mostThreads` threads (this one among them,
// never more than the machine has cores). Returns once every piece is done; the first exception a
// piece throws is thrown again here, and pieces not yet started are then left undone.
void runSideBySide(std::size_t count, unsigned mostThreads, const std::function<void(std::size_t)>& work);

}  // namespace sheet::render
