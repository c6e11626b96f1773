// The rows' checksum against zlib's own.
#include "sheet/render/Adler32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace {

using sheet::render::adler32Update;

std::uint32_t zlibAdler(std::uint32_t start, const std::vector<unsigned char>& bytes, std::size_t size)
{
    return static_cast<std::uint32_t>(adler32(start, bytes.data(), static_cast<uInt>(size)));
}

// Every length around the vector blocks and the reductions, from the start and from a checksum
// carried over, on random bytes and on bytes that make the sums as large as they get.
TEST(Adler32, IsZlibsForEveryLengthStartAndContent)
{
    std::mt19937 random(7);
    std::vector<unsigned char> noise(3 * 5552 + 100);
    for (unsigned char& byte : noise)
        byte = static_cast<unsigned char>(random());
    const std::vector<unsigned char> full(noise.size(), 0xff);
    std::vector<std::size_t> sizes;
    for (std::size_t size = 0; size <= 70; ++size)
        sizes.push_back(size);
    for (const std::size_t size : {5535, 5551, 5552, 5553, 5568, 11104, 11117, 3 * 5552 + 100})
        sizes.push_back(size);
    const std::vector<unsigned char>* contents[] = {&noise, &full};
    for (const std::vector<unsigned char>* bytes : contents)
        for (const std::size_t size : sizes)
            for (const std::uint32_t start : {1u, 0xfff0fff0u % 65521u, 65520u << 16 | 65520u}) {
                SCOPED_TRACE(testing::Message() << "size " << size << " start " << start);
                EXPECT_EQ(adler32Update(start, bytes->data(), size), zlibAdler(start, *bytes, size));
            }
}

}  // namespace
