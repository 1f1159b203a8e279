// Shared ownership by counting: an object starts with one reference held by
// its creator, remember() adds one, forget() drops one and deletes the object
// when none is left. UI thread only.
#pragma once

namespace MX::toolkit {

class CReferenceCounter {
public:
    CReferenceCounter() = default;
    CReferenceCounter(const CReferenceCounter&) = delete;
    CReferenceCounter& operator=(const CReferenceCounter&) = delete;
    virtual ~CReferenceCounter() = default;

    void remember() { ++references_; }
    void forget() {
        if (--references_ == 0) delete this;
    }
    int getNbReference() const { return references_; }

private:
    int references_ = 1;
};

}  // namespace MX::toolkit
