// What the object model's handles share: the running state of an application and its open
// workbooks. Handles hold these by shared pointer and check them on every call, so a handle that
// outlives its application, workbook or sheet fails with a clear message instead of touching
// freed data.
#pragma once

#include "sheet/model/SheetData.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace sheet::detail {

// Results of format changes already made in a workbook: (format, change) -> format. Formats are
// only ever appended to a workbook's table, so a result stays right for the workbook's life, and
// the next cell that gets the same change skips building and hashing a whole format.
class FormatTransitions {
public:
    static constexpr std::uint64_t kNone = 0;
    // A change: what it sets (and on which side) and the value, packed into one key.
    static std::uint64_t key(int property, int side, std::int64_t value)
    {
        return (static_cast<std::uint64_t>(property) << 56) | (static_cast<std::uint64_t>(side) << 48) |
               (static_cast<std::uint64_t>(value) & 0xFFFF'FFFF'FFFFull);
    }
    const FormatId* find(FormatId from, std::uint64_t change) const
    {
        // A sheet is built by the same few changes over and over: the last result of each small
        // group of keys is at hand without a look-up in the table.
        Recent& recent = recent_[slotOf(Key{from, change})];
        if (recent.known && recent.key == Key{from, change})
            return &recent.to;
        auto it = results_.find(Key{from, change});
        if (it == results_.end())
            return nullptr;
        recent = Recent{it->first, it->second, true};
        return &it->second;
    }
    void remember(FormatId from, std::uint64_t change, FormatId to)
    {
        const auto [it, added] = results_.emplace(Key{from, change}, to);
        recent_[slotOf(it->first)] = Recent{it->first, it->second, true};
    }
    // A small number for each distinct font name, so that a name change packs into a key too.
    int fontNameId(const std::string& name) { return fontNames_.try_emplace(name, static_cast<int>(fontNames_.size())).first->second; }

private:
    struct Key {
        FormatId from;
        std::uint64_t change;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const noexcept { return std::hash<std::uint64_t>{}(k.change * 0x9E3779B97F4A7C15ull ^ k.from); }
    };
    struct Recent {
        Key key{};
        FormatId to{};
        bool known = false;
    };
    static constexpr std::size_t kRecent = 64;
    static std::size_t slotOf(const Key& k) { return KeyHash{}(k) % kRecent; }

    std::unordered_map<Key, FormatId, KeyHash> results_;
    mutable std::array<Recent, kRecent> recent_{};
    std::unordered_map<std::string, int> fontNames_;
};

struct BookState {
    std::unique_ptr<WorkbookData> data;
    bool open = true;
    std::string name;  // "Book1", or the file name once opened or saved
    std::string path;
    // Deleted sheets are kept until the workbook closes so that their addresses are never reused
    // by a new sheet while an old handle may still point at them.
    std::vector<std::unique_ptr<SheetData>> deletedSheets;
    FormatTransitions transitions;
};

struct AppState {
    bool running = true;
    bool visible = false;
    bool screenUpdating = true;
    bool displayAlerts = true;
    bool enableEvents = true;
    int enableCancelKey = 1;  // xlInterrupt
    int cursor = -4143;       // xlDefault
    int booksMade = 0;
    std::vector<std::shared_ptr<BookState>> books;
    std::shared_ptr<BookState> activeBook;
    // The active sheet of the active workbook as last found, for the calls that act on it: null
    // until it is found again after anything that may change it (forgetActiveSheet).
    SheetData* activeSheet = nullptr;
};

// Every change of the running state, the active workbook, a workbook's open state, its sheets or
// its active sheet calls this.
inline void forgetActiveSheet(AppState& app) { app.activeSheet = nullptr; }

[[noreturn]] void throwNotRunning();
[[noreturn]] void throwClosed();

// Each throws SheetError with a message for the user when the object may no longer be used.
// Every call of the object model passes here, so the checks are inline.
inline void requireRunning(const AppState& app)
{
    if (!app.running) [[unlikely]]
        throwNotRunning();
}
inline WorkbookData& requireOpen(const AppState& app, const BookState& book)
{
    requireRunning(app);
    if (!book.open || !book.data) [[unlikely]]
        throwClosed();
    return *book.data;
}
SheetData& requireSheet(const AppState& app, const BookState& book, SheetData* sheet);
// Position of the sheet in its workbook, 0-based; -1 when it is not there.
int indexOfSheet(const WorkbookData& data, const SheetData* sheet);

}  // namespace sheet::detail
