// Growable list of pointers, the storage of every container of the writer.
#pragma once

// Keeps pointers in insertion order; it never owns what it points to (its
// owner deletes the members). Growing fails softly: Add and Insert return
// false and leave the list unchanged when memory runs out.
class PdfPtrList {
public:
    // growStep is the smallest growth; a full list at least doubles, so that
    // appending n items copies O(n) pointers in total even for the block
    // list of a stream of a gigabyte.
    explicit PdfPtrList(int growStep = 20);
    ~PdfPtrList();
    PdfPtrList(const PdfPtrList&) = delete;
    PdfPtrList& operator=(const PdfPtrList&) = delete;

    bool Add(void* item);
    // index == count appends; false for an index outside 0..count.
    bool Insert(void* item, int index);
    // Null when index is outside 0..count-1.
    void* ItemAt(int index) const;
    // First index holding item, or -1.
    int Find(const void* item) const;
    // Takes the item out and closes the gap; null when out of range.
    void* RemoveAt(int index);
    bool Remove(const void* item);
    // Forgets every item but keeps the allocated array.
    void Clear() { m_count = 0; }

    int GetCount() const { return m_count; }
    int GetCapacity() const { return m_capacity; }

private:
    bool GrowForOneMore();
    bool Resize(int capacity);

    int m_capacity = 0;
    int m_growStep;
    int m_count = 0;
    void** m_items = nullptr;
};

// The same list with the pointer type of its members, so that owners need
// no casts.
template <class T>
class PdfPtrListOf : public PdfPtrList {
public:
    using PdfPtrList::PdfPtrList;
    bool Add(T* item) { return PdfPtrList::Add(item); }
    bool Insert(T* item, int index) { return PdfPtrList::Insert(item, index); }
    T* ItemAt(int index) const { return static_cast<T*>(PdfPtrList::ItemAt(index)); }
    T* RemoveAt(int index) { return static_cast<T*>(PdfPtrList::RemoveAt(index)); }
};
