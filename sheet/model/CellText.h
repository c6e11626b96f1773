// The text a cell holds: UTF-8, immutable, and kept once however many cells show it. One table for
// the whole process holds every text in use, so equal texts made anywhere share one copy: a handle
// is a pointer, copying it counts a reference, and two handles are equal exactly when they point at
// the same copy. A schedule writes the same few position texts into millions of cells; each is held
// once, and a cell stays small. Handles may be made, copied and dropped on any thread.
#pragma once

#include <cstddef>
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
    CellText(const CellText& other) noexcept;
    CellText(CellText&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
    CellText& operator=(const CellText& other) noexcept;
    CellText& operator=(CellText&& other) noexcept;
    ~CellText() { release(); }

    std::string_view view() const noexcept;
    operator std::string_view() const noexcept { return view(); }
    std::string str() const { return std::string(view()); }
    bool empty() const noexcept { return node_ == nullptr; }
    std::size_t size() const noexcept { return view().size(); }

    // The same for equal texts and different for different ones, while both are held: a key for
    // tables of texts that need not look at the characters.
    const void* identity() const noexcept { return node_; }

    friend bool operator==(const CellText& a, const CellText& b) noexcept { return a.node_ == b.node_; }
    friend bool operator==(const CellText& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const CellText& a, const std::string& b) noexcept { return a.view() == b; }
    friend bool operator==(const CellText& a, const char* b) noexcept { return a.view() == b; }

    // How many different texts are held now, for tests and measurements.
    static std::size_t distinctTexts();

    // The shared copy, known only to the table.
    struct Node;

private:
    void release() noexcept;
    Node* node_ = nullptr;
};

std::ostream& operator<<(std::ostream& out, const CellText& text);

}  // namespace sheet
