// The text a cell holds: UTF-8, immutable, and kept once however many cells show it. One table for
// the whole process holds every text in use, so equal texts made anywhere share one copy: a handle
// is a pointer, copying it counts a reference, and two handles are equal exactly when they point at
// the same copy. A schedule writes the same few position texts into millions of cells; each is held
// once, and a cell stays small. Handles may be made, copied and dropped on any thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

namespace sheet {

class CellText {
public:
    // The empty text.
    CellText() noexcept = default;
    // The text, added to the table when no cell holds it yet. Implicit, so that a cell takes a
    // text as it is written: cell.value = std::string("Cashier").
    CellText(std::string_view text);
    CellText(const std::string& text) : CellText(std::string_view(text)) {}
    CellText(const char* text) : CellText(std::string_view(text)) {}
    CellText(const CellText& other) noexcept : node_(other.node_) { hold(); }
    CellText(CellText&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
    CellText& operator=(const CellText& other) noexcept
    {
        CellText copy(other);
        std::swap(node_, copy.node_);
        return *this;
    }
    CellText& operator=(CellText&& other) noexcept
    {
        CellText taken(std::move(other));
        std::swap(node_, taken.node_);
        return *this;
    }
    ~CellText()
    {
        if (node_ && node_->references.fetch_sub(1, std::memory_order_acq_rel) == 1)
            drop(node_);
    }

    std::string_view view() const noexcept { return node_ ? std::string_view(node_->characters(), node_->size) : std::string_view(); }
    operator std::string_view() const noexcept { return view(); }
    std::string str() const { return std::string(view()); }
    bool empty() const noexcept { return node_ == nullptr; }
    std::size_t size() const noexcept { return node_ ? node_->size : 0; }

    // The same for equal texts and different for different ones, while both are held: a key for
    // tables of texts that need not look at the characters.
    const void* identity() const noexcept { return node_; }

    friend bool operator==(const CellText& a, const CellText& b) noexcept { return a.node_ == b.node_; }
    friend bool operator==(const CellText& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const CellText& a, const std::string& b) noexcept { return a.view() == b; }
    friend bool operator==(const CellText& a, const char* b) noexcept { return a.view() == b; }

    // How many different texts are held now, for tests and measurements.
    static std::size_t distinctTexts();

    // The shared copy: its holders, then its characters, with a closing zero.
    struct Node {
        std::atomic<std::uint32_t> references;
        std::uint32_t size;
        const char* characters() const { return reinterpret_cast<const char*>(this + 1); }
        char* characters() { return reinterpret_cast<char*>(this + 1); }
    };

private:
    void hold() noexcept
    {
        if (node_)
            node_->references.fetch_add(1, std::memory_order_relaxed);
    }
    // The last holder let go: out of the table and freed.
    static void drop(Node* node) noexcept;

    Node* node_ = nullptr;
};

std::ostream& operator<<(std::ostream& out, const CellText& text);

}  // namespace sheet
