#pragma once
// The owner every system handle is held by: closes its handle exactly once, on destruction or
// reset, and can be moved but not copied. Portable; the kinds of Win32 handles are in
// win32/win32_handles.h, and a portable seam may declare its own traits (a file descriptor).

#include <utility>

namespace maglorin {

// Traits: Value, Invalid() (the "no handle" value) and Close(Value) for one kind of handle.
template <typename Traits>
class UniqueHandle {
public:
    using Value = typename Traits::Value;

    UniqueHandle() = default;
    explicit UniqueHandle(Value value) : value_(value) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Value Get() const { return value_; }
    bool IsValid() const { return value_ != Traits::Invalid(); }
    explicit operator bool() const { return IsValid(); }

    // For functions that hand a new handle back through a pointer; any held handle is closed.
    Value* Receive() {
        Reset();
        return &value_;
    }
    // The caller owns the returned handle.
    Value Release() { return std::exchange(value_, Traits::Invalid()); }
    void Reset(Value value = Traits::Invalid()) {
        const Value old = std::exchange(value_, value);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

private:
    Value value_ = Traits::Invalid();
};

}  // namespace maglorin
