#include "pdf/PdfPtrList.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

PdfPtrList::PdfPtrList(int growStep) : m_growStep(std::max(1, growStep)) {}

PdfPtrList::~PdfPtrList() { delete[] m_items; }

bool PdfPtrList::Add(void* item) {
    if (m_count >= m_capacity && !GrowForOneMore())
        return false;
    m_items[m_count++] = item;
    return true;
}

bool PdfPtrList::Insert(void* item, int index) {
    if (index < 0 || index > m_count)
        return false;
    if (index == m_count)
        return Add(item);
    if (m_count >= m_capacity && !GrowForOneMore())
        return false;
    std::memmove(m_items + index + 1, m_items + index,
                 sizeof(void*) * static_cast<size_t>(m_count - index));
    m_items[index] = item;
    ++m_count;
    return true;
}

void* PdfPtrList::ItemAt(int index) const {
    return index >= 0 && index < m_count ? m_items[index] : nullptr;
}

int PdfPtrList::Find(const void* item) const {
    for (int i = 0; i < m_count; ++i)
        if (m_items[i] == item)
            return i;
    return -1;
}

void* PdfPtrList::RemoveAt(int index) {
    if (index < 0 || index >= m_count)
        return nullptr;
    void* item = m_items[index];
    std::memmove(m_items + index, m_items + index + 1,
                 sizeof(void*) * static_cast<size_t>(m_count - index - 1));
    --m_count;
    return item;
}

bool PdfPtrList::Remove(const void* item) { return RemoveAt(Find(item)) != nullptr; }

bool PdfPtrList::GrowForOneMore() {
    long long wanted = static_cast<long long>(m_capacity) + std::max(m_growStep, m_capacity);
    wanted = std::min<long long>(wanted, INT_MAX);
    if (wanted <= m_capacity)
        return false;
    return Resize(static_cast<int>(wanted));
}

bool PdfPtrList::Resize(int capacity) {
    void** items = new (std::nothrow) void*[static_cast<size_t>(capacity)];
    if (!items)
        return false;
    if (m_items)
        std::memcpy(items, m_items, sizeof(void*) * static_cast<size_t>(std::min(m_capacity, capacity)));
    delete[] m_items;
    m_items = items;
    m_capacity = capacity;
    return true;
}
