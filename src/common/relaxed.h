// Values shared between the main thread and the audio thread (which values,
// and who writes them, is in core/shared.h).
//
// relaxed<T>: a lock-free value whose reader only ever needs the old or the
// new value. std::atomic with relaxed ordering gives exactly that, with no
// data race in the language's sense. The wrapper keeps the arithmetic syntax
// of a plain variable; compound assignments are a load followed by a store,
// not read-modify-write operations: where two threads store to one value,
// either store may win (core/shared.h says where that is accepted), and a
// counter that must lose neither uses add().
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

    // A true read-modify-write, for a counter that the other thread may
    // store to at the same time: neither change is lost.
    void add(T x) noexcept { v_.fetch_add(x, std::memory_order_relaxed); }

private:
    std::atomic<T> v_;
    static_assert(std::atomic<T>::is_always_lock_free, "shared values must be lock-free");
};

// A value that hands a whole set of plain data from one thread to the other:
// the writer prepares the data, then stores (release); a reader whose load
// (acquire) sees that store also sees everything written before it.
template <class T>
class handover {
public:
    constexpr handover(T value = T{}) noexcept : v_(value) {}
    handover(const handover&) = delete;
    handover& operator=(const handover&) = delete;
    handover& operator=(T value) noexcept { store(value); return *this; }

    T load() const noexcept { return v_.load(std::memory_order_acquire); }
    void store(T value) noexcept { v_.store(value, std::memory_order_release); }
    operator T() const noexcept { return load(); }

private:
    std::atomic<T> v_;
    static_assert(std::atomic<T>::is_always_lock_free, "shared values must be lock-free");
};
