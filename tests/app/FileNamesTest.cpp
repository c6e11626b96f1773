// Text that comes from the system as bytes keeps every byte on its way back.
#include "app/FileNames.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

TEST(FileNames, EveryByteSequenceComesBackAsItWent)
{
    const std::string samples[] = {
        "plain.xls",
        "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\x85.xls"s,      // 2-, 3- and 4-byte UTF-8
        "caf\xE9.xls"s,                                          // Latin-1
        "\x80\xBF lone continuations"s,
        "cut \xE2\x82"s,                                         // a sequence cut short at the end
        "overlong \xC0\xAF and \xE0\x80\xAF"s,
        "surrogate \xED\xB2\x80 encoded"s,                       // what an escape would look like
        "past Unicode \xF4\x90\x80\x80 \xF5\xFF"s,
        "nul \0 inside"s,
    };
    for (const std::string& bytes : samples)
        EXPECT_EQ(app::toSystemBytes(app::fromSystemBytes(bytes)), bytes) << bytes;

    EXPECT_EQ(app::fromSystemBytes("caf\xE9.xls"), QStringLiteral("caf") + QChar(0xDCE9) + QStringLiteral(".xls"));
    EXPECT_EQ(app::fromSystemBytes("caf\xC3\xA9"), QStringLiteral("caf\u00E9"));
    EXPECT_EQ(app::toSystemBytes(QStringLiteral("\U0001F4C5")), "\xF0\x9F\x93\x85");
}
