#include "AllocationMeter.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> held{0};
std::atomic<std::size_t> highest{0};

// Room for the block's size in front of it, keeping malloc's alignment.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Take(std::size_t size) {
    if (size > SIZE_MAX - kHeader)
        return nullptr;
    void* block = std::malloc(kHeader + size);
    if (block == nullptr)
        return nullptr;
    *static_cast<std::size_t*>(block) = size;
    std::size_t now = held.fetch_add(size) + size;
    std::size_t top = highest.load();
    while (now > top && !highest.compare_exchange_weak(top, now)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void* TakeOrThrow(std::size_t size) {
    if (void* block = Take(size))
        return block;
    throw std::bad_alloc();
}

void Give(void* pointer) {
    if (pointer == nullptr)
        return;
    void* block = static_cast<char*>(pointer) - kHeader;
    held.fetch_sub(*static_cast<std::size_t*>(block));
    std::free(block);
}

} // namespace

AllocationMeter::AllocationMeter() : start_(held.load()) {
    highest.store(start_);
}

std::size_t AllocationMeter::Peak() const {
    std::size_t top = highest.load();
    return top > start_ ? top - start_ : 0;
}

void* operator new(std::size_t size) {
    return TakeOrThrow(size);
}
void* operator new[](std::size_t size) {
    return TakeOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Take(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Take(size);
}
void operator delete(void* pointer) noexcept {
    Give(pointer);
}
void operator delete[](void* pointer) noexcept {
    Give(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    Give(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    Give(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    Give(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    Give(pointer);
}
