// Registry of auxiliary objects that must live as long as the document.
#pragma once

#include <memory>

#include "pdf/PdfPtrList.h"

class PdfAutoPtrMgr;

// Base of an auxiliary (non-PDF) object that a document can keep alive. It
// knows its registry so that it cannot be registered with two of them.
class PdfAutoPtrObject {
public:
    PdfAutoPtrObject() = default;
    PdfAutoPtrObject(const PdfAutoPtrObject&) = delete;
    PdfAutoPtrObject& operator=(const PdfAutoPtrObject&) = delete;
    virtual ~PdfAutoPtrObject() = default;

    PdfAutoPtrMgr* GetOwner() const { return m_owner; }

protected:
    // Called once, right after the registry took the object.
    virtual void OnRegistered() {}

private:
    friend class PdfAutoPtrMgr;
    PdfAutoPtrMgr* m_owner = nullptr;
};

// Owns the registered objects and deletes them, in registration order, when
// it is destroyed. Its two errors are thrown as newly allocated PdfException
// pointers (catch PdfException* and delete it).
class PdfAutoPtrMgr {
public:
    PdfAutoPtrMgr() = default;
    PdfAutoPtrMgr(const PdfAutoPtrMgr&) = delete;
    PdfAutoPtrMgr& operator=(const PdfAutoPtrMgr&) = delete;
    ~PdfAutoPtrMgr();

    // Takes the object over; registering it again here does nothing, an
    // object of another registry is refused (-5, not taken), and an object
    // that cannot be stored is deleted (-5). Null is ignored.
    void RegisterObject(PdfAutoPtrObject* object);
    int GetCount() const { return m_objects ? m_objects->GetCount() : 0; }

private:
    std::unique_ptr<PdfPtrListOf<PdfAutoPtrObject>> m_objects;
};
