// A shared pointer of one word, for the small objects elements share (their
// handler sets, the token weak references go through). Forms hold thousands
// of elements: a std::shared_ptr's second word and control block add up.
// Single-threaded, as everything on the GUI thread is.
#pragma once

#include <utility>

namespace korva {

// T carries `int refs`, 1 when made.
template <class T> class Counted {
public:
    Counted() = default;
    explicit Counted(T* made) : p_(made) {}
    Counted(const Counted& o) : p_(o.p_) {
        if (p_)
            ++p_->refs;
    }
    Counted(Counted&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Counted& operator=(Counted o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~Counted() {
        if (p_ && --p_->refs == 0)
            delete p_;
    }
    T* get() const { return p_; }
    T& operator*() const { return *p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    bool shared() const { return p_ && p_->refs > 1; }
    void reset() { Counted().swap(*this); }
    void swap(Counted& o) noexcept { std::swap(p_, o.p_); }

private:
    T* p_ = nullptr;
};

} // namespace korva
