#pragma once
// An owner of one thing the platform hands out and one call gives back (a drop,
// a shell item list, a buffer the system allocated): the call is made when the
// owner goes out of scope.
template <class Handle, auto Free> class Owned {
public:
    explicit Owned(Handle handle = Handle()) : handle_(handle) {}
    ~Owned() {
        if (handle_)
            Free(handle_);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle Get() const { return handle_; }
    // Where a call that hands one out writes it; the owner must still be empty.
    Handle* Receiver() { return &handle_; }

private:
    Handle handle_;
};
