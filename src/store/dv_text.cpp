#include "store/dv_text.h"

#include <cstring>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <utility>

char* CDVText::block() const noexcept {
    char* p = nullptr;
    std::memcpy(&p, m_bytes, sizeof p);
    return p;
}

std::uint32_t CDVText::heapSize() const noexcept {
    std::uint32_t size = 0;
    std::memcpy(&size, m_bytes + sizeof(char*), sizeof size);
    return size;
}

std::uint32_t CDVText::blockCapacity() const noexcept {
    std::uint32_t capacity = 0;
    std::memcpy(&capacity, block(), sizeof capacity);
    return capacity;
}

void CDVText::setHeap(char* p, std::uint32_t size) noexcept {
    std::memcpy(m_bytes, &p, sizeof p);
    std::memcpy(m_bytes + sizeof p, &size, sizeof size);
    m_bytes[kInPlace] = static_cast<char>(kHeapTag);
}

void CDVText::release() noexcept {
    if (onHeap())
        delete[] block();
}

CDVText::CDVText(CDVText&& other) noexcept {
    std::memcpy(m_bytes, other.m_bytes, sizeof m_bytes);
    other.setInPlaceSize(0);
}

CDVText& CDVText::operator=(const CDVText& other) {
    if (this != &other)
        assign(other.data(), other.size());
    return *this;
}

CDVText& CDVText::operator=(CDVText&& other) noexcept {
    if (this != &other) {
        release();
        std::memcpy(m_bytes, other.m_bytes, sizeof m_bytes);
        other.setInPlaceSize(0);
    }
    return *this;
}

CDVText& CDVText::assign(const char* text, std::size_t size) {
    if (size <= kInPlace && !onHeap()) {
        std::memmove(m_bytes, text, size);
        setInPlaceSize(size);
        return *this;
    }
    if (size > std::numeric_limits<std::uint32_t>::max() - sizeof(std::uint32_t) - 1)
        throw std::length_error("a text of a log entry cannot exceed 4 GiB");
    const auto length = static_cast<std::uint32_t>(size);
    // A block already held is kept while the text fits, so reloading a log reuses it.
    if (onHeap() && length <= blockCapacity()) {
        std::memmove(heapText(), text, size);
        heapText()[size] = '\0';
        setHeap(block(), length);
        return *this;
    }
    char* fresh = new char[sizeof(std::uint32_t) + size + 1];
    std::memcpy(fresh, &length, sizeof length);
    std::memcpy(fresh + sizeof length, text, size);
    fresh[sizeof length + size] = '\0';
    release();
    setHeap(fresh, length);
    return *this;
}

CDVText& CDVText::assign(std::size_t count, char c) {
    return assign(std::string(count, c).data(), count);
}

void CDVText::clear() noexcept {
    if (onHeap()) {
        heapText()[0] = '\0';
        setHeap(block(), 0);
    } else {
        setInPlaceSize(0);
    }
}

std::ostream& operator<<(std::ostream& out, const CDVText& text) {
    return out << text.view();
}
