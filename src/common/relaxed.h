// A value shared between the main thread and the audio thread.
//
// The player design relies on plain, lock-free loads and stores: each field
// has one writing thread at a time, and a reader only ever needs the old or
// the new value. std::atomic with relaxed ordering gives exactly that, with
// no data race in the language's sense. The wrapper keeps the arithmetic
// syntax of a plain variable; compound assignments are a load followed by a
// store, not read-modify-write operations, which is all a single writer needs.
#pragma once

#include <atomic>

template <class T>
class relaxed {
public:
    constexpr relaxed(T value = T{}) noexcept : v_(value) {}
    relaxed(const relaxed& other) noexcept : v_(other.load()) {}
    relaxed& operator=(const relaxed& other) noexcept { store(other.load()); return *this; }
    relaxed& operator=(T value) noexcept { store(value); return *this; }

    T load() const noexcept { return v_.load(std::memory_order_relaxed); }
    void store(T value) noexcept { v_.store(value, std::memory_order_relaxed); }
    operator T() const noexcept { return load(); }

    relaxed& operator+=(T x) noexcept { store(static_cast<T>(load() + x)); return *this; }
    relaxed& operator-=(T x) noexcept { store(static_cast<T>(load() - x)); return *this; }
    relaxed& operator|=(T x) noexcept { store(static_cast<T>(load() | x)); return *this; }
    relaxed& operator&=(T x) noexcept { store(static_cast<T>(load() & x)); return *this; }
    relaxed& operator^=(T x) noexcept { store(static_cast<T>(load() ^ x)); return *this; }
    relaxed& operator++() noexcept { return *this += T(1); }
    relaxed& operator--() noexcept { return *this -= T(1); }
    T operator++(int) noexcept { T old = load(); store(static_cast<T>(old + 1)); return old; }
    T operator--(int) noexcept { T old = load(); store(static_cast<T>(old - 1)); return old; }

private:
    std::atomic<T> v_;
    static_assert(std::atomic<T>::is_always_lock_free, "shared values must be lock-free");
};
