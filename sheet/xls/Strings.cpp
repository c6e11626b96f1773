// Text encoding, the shared string table and its index.
#include "sheet/xls/Strings.h"

#include "sheet/xls/BiffReader.h"
#include "sheet/xls/ReadLimits.h"

#include <algorithm>
#include <stdexcept>

namespace sheet::xls {

std::u16string utf8ToUtf16(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        char32_t cp = 0xFFFD;
        std::size_t length = 1;
        auto cont = [&](std::size_t k) { return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80; };
        auto bits = [&](std::size_t k) { return static_cast<char32_t>(static_cast<unsigned char>(s[i + k]) & 0x3F); };
        if (b0 < 0x80) {
            cp = b0;
        } else if (b0 >= 0xC2 && b0 < 0xE0 && cont(1)) {
            cp = ((b0 & 0x1Fu) << 6) | bits(1);
            length = 2;
        } else if (b0 >= 0xE0 && b0 < 0xF0 && cont(1) && cont(2)) {
            const char32_t v = ((b0 & 0x0Fu) << 12) | (bits(1) << 6) | bits(2);
            if (v >= 0x800 && (v < 0xD800 || v > 0xDFFF))
                cp = v;
            length = 3;
        } else if (b0 >= 0xF0 && b0 < 0xF5 && cont(1) && cont(2) && cont(3)) {
            const char32_t v = ((b0 & 0x07u) << 18) | (bits(1) << 12) | (bits(2) << 6) | bits(3);
            if (v >= 0x10000 && v <= 0x10FFFF)
                cp = v;
            length = 4;
        }
        i += length;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

bool fitsLatin1(std::u16string_view units)
{
    return std::all_of(units.begin(), units.end(), [](char16_t c) { return c <= 0xFF; });
}

namespace {

void writeUnits(BiffWriter& w, std::u16string_view units, bool latin1)
{
    for (char16_t c : units) {
        if (latin1)
            w.u8(static_cast<std::uint8_t>(c));
        else
            w.u16(static_cast<std::uint16_t>(c));
    }
}

void writeString(BiffWriter& w, std::string_view utf8, std::size_t maxUnits, bool longCount)
{
    const std::u16string units = utf8ToUtf16(utf8);
    if (units.size() > maxUnits)
        throw std::length_error("text too long");
    const bool latin1 = fitsLatin1(units);
    if (longCount)
        w.u16(static_cast<std::uint16_t>(units.size()));
    else
        w.u8(static_cast<std::uint8_t>(units.size()));
    w.u8(latin1 ? 0 : 1);
    writeUnits(w, units, latin1);
}

}  // namespace

void writeShortString(BiffWriter& w, std::string_view utf8) { writeString(w, utf8, 255, false); }
void writeLongString(BiffWriter& w, std::string_view utf8) { writeString(w, utf8, 65535, true); }

std::size_t SharedStrings::readCost() const
{
    std::size_t total = 0;
    for (std::uint32_t size : readBackSizes_)
        total += cost::sharedString(size);
    return total;
}

std::uint32_t SharedStrings::add(const CellText& text)
{
    if (lastKnown_ && text.identity() == lastText_) {
        ++uses_;
        return lastIndex_;
    }
    auto [it, inserted] = index_.try_emplace(text.identity(), static_cast<std::uint32_t>(strings_.size()));
    if (inserted) {
        std::u16string units = utf8ToUtf16(text.view());
        if (units.size() > kMaxCellTextUnits) {
            index_.erase(it);
            throw std::length_error("text too long");
        }
        readBackSizes_.push_back(static_cast<std::uint32_t>(utf16ToUtf8(units).size()));
        strings_.push_back(std::move(units));
        held_.push_back(text);
    }
    ++uses_;
    lastText_ = text.identity();
    lastIndex_ = it->second;
    lastKnown_ = true;
    return it->second;
}

std::uint32_t SharedStrings::indexOf(const CellText& text) const
{
    if (!lastKnown_ || text.identity() != lastText_) {
        lastIndex_ = index_.at(text.identity());
        lastText_ = text.identity();
        lastKnown_ = true;
    }
    return lastIndex_;
}

std::uint16_t stringsPerBucket(std::size_t uniqueCount)
{
    // The index record must fit in one record: at most 1024 buckets of 8 bytes.
    return static_cast<std::uint16_t>(std::max<std::size_t>(8, (uniqueCount + 1023) / 1024));
}

std::vector<SstBucket> writeSST(BiffWriter& w, const SharedStrings& strings)
{
    const auto& all = strings.unique();
    const std::uint16_t perBucket = stringsPerBucket(all.size());
    std::vector<SstBucket> buckets;
    w.begin(rec::SST);
    w.u32(strings.totalUses());
    w.u32(static_cast<std::uint32_t>(all.size()));
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::u16string& s = all[i];
        const bool latin1 = fitsLatin1(s);
        const std::size_t unit = latin1 ? 1 : 2;
        // A string's header and its first character never part.
        if (w.recordLength() + 3 + (s.empty() ? 0 : unit) > kMaxRecordData) {
            w.end();
            w.begin(rec::CONTINUE);
        }
        if (i % perBucket == 0)
            buckets.push_back({static_cast<std::uint32_t>(w.position()), static_cast<std::uint16_t>(w.recordLength() + 4)});
        w.u16(static_cast<std::uint16_t>(s.size()));
        w.u8(latin1 ? 0 : 1);
        std::size_t done = 0;
        while (done < s.size()) {
            const std::size_t room = (kMaxRecordData - w.recordLength()) / unit;
            if (room == 0) {
                // The rest of the string goes on in the next record, behind a fresh flags byte.
                w.end();
                w.begin(rec::CONTINUE);
                w.u8(latin1 ? 0 : 1);
                continue;
            }
            const std::size_t n = std::min(room, s.size() - done);
            writeUnits(w, std::u16string_view(s).substr(done, n), latin1);
            done += n;
        }
    }
    w.end();
    return buckets;
}

void writeEXTSST(BiffWriter& w, std::size_t uniqueCount, const std::vector<SstBucket>& buckets)
{
    w.begin(rec::EXTSST);
    w.u16(stringsPerBucket(uniqueCount));
    for (const SstBucket& b : buckets) {
        w.u32(b.streamOffset);
        w.u16(b.recordOffset);
        w.u16(0);
    }
    w.end();
}

namespace {

// Reads across the SST record and its CONTINUE records.
class SegmentCursor {
public:
    explicit SegmentCursor(const std::vector<std::span<const std::uint8_t>>& segments) : segments_(segments)
    {
        for (auto s : segments_)
            total_ += s.size();
    }

    std::size_t totalSize() const { return total_; }
    // Bytes left in the current record, without moving on.
    std::size_t leftHere() const { return segment_ < segments_.size() ? segments_[segment_].size() - pos_ : 0; }
    // Moves to the start of the next record; false when there is none.
    bool advance()
    {
        if (segment_ < segments_.size()) {
            ++segment_;
            pos_ = 0;
        }
        return segment_ < segments_.size();
    }
    bool atEnd()
    {
        settle();
        return segment_ >= segments_.size();
    }
    std::uint8_t u8()
    {
        if (atEnd())
            damaged("the shared string table is cut short");
        return segments_[segment_][pos_++];
    }
    std::uint16_t u16()
    {
        const std::uint16_t lo = u8();
        return static_cast<std::uint16_t>(lo | (u8() << 8));
    }
    std::uint32_t u32()
    {
        const std::uint32_t lo = u16();
        return lo | (static_cast<std::uint32_t>(u16()) << 16);
    }
    void skip(std::size_t n)
    {
        while (n > 0) {
            if (atEnd())
                damaged("the shared string table is cut short");
            const std::size_t k = std::min(leftHere(), n);
            pos_ += k;
            n -= k;
        }
    }
    std::span<const std::uint8_t> take(std::size_t n)
    {
        auto part = segments_[segment_].subspan(pos_, n);
        pos_ += n;
        return part;
    }

private:
    void settle()
    {
        while (segment_ < segments_.size() && pos_ == segments_[segment_].size()) {
            ++segment_;
            pos_ = 0;
        }
    }
    const std::vector<std::span<const std::uint8_t>>& segments_;
    std::size_t segment_ = 0;
    std::size_t pos_ = 0;
    std::size_t total_ = 0;
};

}  // namespace

std::vector<CellText> readSST(const std::vector<std::span<const std::uint8_t>>& segments, ReadBudget* budget)
{
    SegmentCursor c(segments);
    c.u32();  // uses, not needed
    const std::uint32_t unique = c.u32();
    std::vector<CellText> strings;
    // The declared count is not trusted for the allocation: every string takes three bytes at least.
    strings.reserve(std::min<std::size_t>(unique, c.totalSize() / 3));
    std::u16string units;
    for (std::uint32_t i = 0; i < unique && !c.atEnd(); ++i) {
        const std::uint16_t count = c.u16();
        const std::uint8_t flags = c.u8();
        bool wide = flags & 0x01;
        const std::uint16_t runs = (flags & 0x08) ? c.u16() : 0;
        const std::uint32_t extSize = (flags & 0x04) ? c.u32() : 0;
        units.clear();
        while (units.size() < count) {
            if (c.leftHere() == 0) {
                // The characters go on in the next record, which says again how they are stored.
                if (!c.advance() || c.leftHere() == 0)
                    damaged("the shared string table is cut short");
                wide = c.u8() & 0x01;
                continue;
            }
            const std::size_t unit = wide ? 2 : 1;
            const std::size_t fit = std::min<std::size_t>(count - units.size(), c.leftHere() / unit);
            if (fit == 0)
                damaged("a text is split inside a character");
            auto bytes = c.take(fit * unit);
            for (std::size_t k = 0; k < fit; ++k)
                units.push_back(wide ? static_cast<char16_t>(bytes[2 * k] | (bytes[2 * k + 1] << 8)) : static_cast<char16_t>(bytes[k]));
        }
        c.skip(std::size_t{runs} * 4);
        c.skip(extSize);
        std::string text = utf16ToUtf8(units);
        if (budget)
            budget->charge(cost::sharedString(text.size()));
        strings.emplace_back(text);
    }
    return strings;
}

namespace {

std::string readCountedString(ByteCursor& c, std::size_t count)
{
    const bool wide = c.u8() & 0x01;
    std::u16string units;
    auto bytes = c.take(count * (wide ? 2 : 1));
    units.reserve(count);
    for (std::size_t k = 0; k < count; ++k)
        units.push_back(wide ? static_cast<char16_t>(bytes[2 * k] | (bytes[2 * k + 1] << 8)) : static_cast<char16_t>(bytes[k]));
    return utf16ToUtf8(units);
}

}  // namespace

std::string readShortString(ByteCursor& c) { return readCountedString(c, c.u8()); }
std::string readLongString(ByteCursor& c) { return readCountedString(c, c.u16()); }

}  // namespace sheet::xls
