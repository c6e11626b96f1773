// The process-wide table of cell texts. A text's count reaches zero once: the table never hands out
// a text whose count is zero, but puts a new copy in its place, and whoever let the old one go takes
// it out of the table (unless it was replaced already) and frees it.
#include "sheet/model/CellText.h"

#include <cstring>
#include <mutex>
#include <new>
#include <ostream>
#include <stdexcept>
#include <unordered_map>

namespace sheet {

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

std::string_view textOf(const CellText::Node* node) { return {node->characters(), node->size}; }

// One more holder, unless the count already reached zero.
bool holdLive(CellText::Node* node)
{
    std::uint32_t seen = node->references.load(std::memory_order_relaxed);
    while (seen > 0)
        if (node->references.compare_exchange_weak(seen, seen + 1, std::memory_order_relaxed))
            return true;
    return false;
}

void destroy(CellText::Node* node)
{
    node->~Node();
    ::operator delete(node);
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
    const auto found = t.nodes.find(text);
    if (found != t.nodes.end() && holdLive(found->second)) {
        node_ = found->second;
        return;
    }
    void* memory = ::operator new(sizeof(Node) + text.size() + 1);
    Node* node = new (memory) Node{{1}, static_cast<std::uint32_t>(text.size())};
    std::memcpy(node->characters(), text.data(), text.size());
    node->characters()[text.size()] = '\0';
    try {
        if (found != t.nodes.end())
            t.nodes.erase(found);  // a dying copy: its last holder frees it
        t.nodes.emplace(textOf(node), node);
    } catch (...) {
        destroy(node);
        throw;
    }
    node_ = node;
}

void CellText::drop(Node* node) noexcept
{
    Table& t = table();
    {
        const std::lock_guard guard(t.lock);
        if (const auto entry = t.nodes.find(textOf(node)); entry != t.nodes.end() && entry->second == node)
            t.nodes.erase(entry);
    }
    destroy(node);
}

std::size_t CellText::distinctTexts()
{
    Table& t = table();
    const std::lock_guard guard(t.lock);
    return t.nodes.size();
}

std::ostream& operator<<(std::ostream& out, const CellText& text) { return out << text.view(); }

}  // namespace sheet
