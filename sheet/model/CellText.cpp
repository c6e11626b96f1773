// The process-wide table of cell texts. A count reaches zero only under the table's lock, and a
// text is looked up only under it, so a text being dropped is never handed out again.
#include "sheet/model/CellText.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <ostream>
#include <stdexcept>
#include <unordered_map>

namespace sheet {

struct CellText::Node {
    std::atomic<std::uint32_t> references;
    std::uint32_t size;
    char* characters() { return reinterpret_cast<char*>(this + 1); }
};

namespace {

struct Table {
    std::mutex lock;
    // Keyed by the node's own characters.
    std::unordered_map<std::string_view, CellText::Node*> nodes;
};

// Never destroyed: texts held by objects that outlive the program's static objects still find it.
Table& table()
{
    static Table* const instance = new Table;
    return *instance;
}

}  // namespace

CellText::CellText(std::string_view text)
{
    if (text.empty())
        return;
    if (text.size() > UINT32_MAX)
        throw std::length_error("text too long");
    Table& t = table();
    const std::lock_guard guard(t.lock);
    if (const auto found = t.nodes.find(text); found != t.nodes.end()) {
        node_ = found->second;
        node_->references.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    void* memory = ::operator new(sizeof(Node) + text.size() + 1);
    node_ = new (memory) Node{{1}, static_cast<std::uint32_t>(text.size())};
    std::memcpy(node_->characters(), text.data(), text.size());
    node_->characters()[text.size()] = '\0';
    try {
        t.nodes.emplace(std::string_view(node_->characters(), text.size()), node_);
    } catch (...) {
        node_->~Node();
        ::operator delete(memory);
        throw;
    }
}

CellText::CellText(const CellText& other) noexcept : node_(other.node_)
{
    if (node_)
        node_->references.fetch_add(1, std::memory_order_relaxed);
}

CellText& CellText::operator=(const CellText& other) noexcept
{
    if (node_ != other.node_) {
        CellText copy(other);
        std::swap(node_, copy.node_);
    }
    return *this;
}

CellText& CellText::operator=(CellText&& other) noexcept
{
    if (this != &other) {
        release();
        node_ = std::exchange(other.node_, nullptr);
    }
    return *this;
}

void CellText::release() noexcept
{
    Node* const node = std::exchange(node_, nullptr);
    if (!node)
        return;
    // Not the last holder: a count above one can drop without the lock.
    std::uint32_t seen = node->references.load(std::memory_order_relaxed);
    while (seen > 1)
        if (node->references.compare_exchange_weak(seen, seen - 1, std::memory_order_acq_rel))
            return;
    Table& t = table();
    {
        const std::lock_guard guard(t.lock);
        if (node->references.fetch_sub(1, std::memory_order_acq_rel) != 1)
            return;  // handed out again before the lock was taken
        t.nodes.erase(std::string_view(node->characters(), node->size));
    }
    node->~Node();
    ::operator delete(node);
}

std::string_view CellText::view() const noexcept
{
    return node_ ? std::string_view(node_->characters(), node_->size) : std::string_view();
}

std::size_t CellText::distinctTexts()
{
    Table& t = table();
    const std::lock_guard guard(t.lock);
    return t.nodes.size();
}

std::ostream& operator<<(std::ostream& out, const CellText& text) { return out << text.view(); }

}  // namespace sheet
