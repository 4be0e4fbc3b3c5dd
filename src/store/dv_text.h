#pragma once
// CDVText is one text field of a log entry (note, station, invoice…), UTF-8 like every
// string in memory. A log holds eight of them per entry and most are short, so the value
// takes 16 bytes, half a std::string: texts of up to 15 bytes live inside it, longer ones
// in a block of their own that later assignments reuse while they fit. It converts to
// std::string_view (and, copying, to std::string) wherever those are asked for.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <string>
#include <string_view>

class CDVText {
public:
    static constexpr std::size_t kInPlace = 15;

    CDVText() noexcept { setInPlaceSize(0); }
    CDVText(std::string_view text) : CDVText() { assign(text.data(), text.size()); }
    CDVText(const char* text) : CDVText(std::string_view(text)) {}
    CDVText(const std::string& text) : CDVText(std::string_view(text)) {}
    CDVText(const CDVText& other) : CDVText() { assign(other.data(), other.size()); }
    CDVText(CDVText&& other) noexcept;
    ~CDVText() { release(); }

    CDVText& operator=(const CDVText& other);
    CDVText& operator=(CDVText&& other) noexcept;
    CDVText& operator=(std::string_view text) { return assign(text.data(), text.size()); }
    CDVText& operator=(const std::string& text) { return assign(text.data(), text.size()); }
    CDVText& operator=(const char* text) { return *this = std::string_view(text); }

    CDVText& assign(const char* text, std::size_t size);
    CDVText& assign(std::size_t count, char c);
    // Sets a text of at most kInPlace bytes from `text`, where kInPlace + 1 bytes can be read
    // (those past `size` are not kept): how a log's short texts are read, in one move.
    void assignShort(const char* text, std::size_t size) {
        if (onHeap()) {
            assign(text, size);
            return;
        }
        std::memcpy(m_bytes, text, sizeof m_bytes);
        setInPlaceSize(size);
    }
    void clear() noexcept;

    std::size_t size() const noexcept { return onHeap() ? heapSize() : kInPlace - tag(); }
    bool empty() const noexcept { return size() == 0; }
    const char* data() const noexcept { return onHeap() ? heapText() : m_bytes; }
    const char* c_str() const noexcept { return data(); } // always NUL-terminated
    std::string_view view() const noexcept { return {data(), size()}; }
    std::string str() const { return std::string(view()); }
    bool starts_with(std::string_view prefix) const noexcept { return view().starts_with(prefix); }

    operator std::string_view() const noexcept { return view(); }
    operator std::string() const { return str(); }

    friend bool operator==(const CDVText& a, const CDVText& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const CDVText& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const CDVText& a, const char* b) noexcept { return a.view() == b; }
    friend bool operator==(const CDVText& a, const std::string& b) noexcept { return a.view() == b; }
    friend bool operator<(const CDVText& a, const CDVText& b) noexcept { return a.view() < b.view(); }
    friend std::string operator+(const CDVText& a, const CDVText& b) { return a.str().append(b.view()); }
    friend std::string operator+(const CDVText& a, std::string_view b) { return a.str().append(b); }
    friend std::string operator+(std::string_view a, const CDVText& b) { return std::string(a).append(b.view()); }
    friend std::string operator+(const std::string& a, const CDVText& b) { return std::string(a).append(b.view()); }
    friend std::string operator+(const char* a, const CDVText& b) { return std::string(a).append(b.view()); }
    friend std::ostream& operator<<(std::ostream& out, const CDVText& text);

private:
    // The last byte tells the form: kInPlace - size for a text held in place (so a full one
    // ends in its own NUL), kHeapTag for a text in a block. A block starts with its capacity.
    static constexpr unsigned char kHeapTag = 0xFF;

    unsigned char tag() const noexcept { return static_cast<unsigned char>(m_bytes[kInPlace]); }
    bool onHeap() const noexcept { return tag() == kHeapTag; }
    void setInPlaceSize(std::size_t size) noexcept {
        m_bytes[size] = '\0';
        m_bytes[kInPlace] = static_cast<char>(kInPlace - size);
    }
    char* block() const noexcept;
    std::uint32_t heapSize() const noexcept;
    std::uint32_t blockCapacity() const noexcept;
    char* heapText() const noexcept { return block() + sizeof(std::uint32_t); }
    void setHeap(char* block, std::uint32_t size) noexcept;
    void release() noexcept;

    alignas(8) char m_bytes[kInPlace + 1];
};

static_assert(sizeof(CDVText) == 16);
