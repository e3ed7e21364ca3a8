// A stack that keeps its first N entries inside itself, so compiling a short
// expression needs no heap memory for its work stacks.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace tarn::calc::detail {

template <class T, std::size_t N>
class SmallStack {
public:
    SmallStack() = default;
    SmallStack(const SmallStack&) = delete;
    SmallStack& operator=(const SmallStack&) = delete;

    void push(const T& value) {
        if (size_ == capacity_) Grow();
        data_[size_++] = value;
    }
    void pop(std::size_t count = 1) { size_ -= count; }
    void clear() { size_ = 0; }
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    T& back() { return data_[size_ - 1]; }
    const T& back() const { return data_[size_ - 1]; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }

private:
    void Grow() {
        const bool inlineData = data_ == inline_.data();
        heap_.resize(capacity_ * 2);
        if (inlineData)
            for (std::size_t i = 0; i < size_; ++i) heap_[i] = inline_[i];
        data_ = heap_.data();
        capacity_ = heap_.size();
    }

    std::array<T, N> inline_;
    std::vector<T> heap_;
    T* data_ = inline_.data();
    std::size_t size_ = 0;
    std::size_t capacity_ = N;
};

}  // namespace tarn::calc::detail
