#pragma once
// Small file helpers shared by every writer of the program's files. Saves go through
// writeFileAtomically: the new bytes are written to a temporary file beside the target,
// flushed to disk and renamed over it, so a crash leaves either the old or the new file.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace odrivo {

enum class ReadStatus { Ok, Missing, Failed };

// Opens a regular file for reading: on Ok, `fd` is open (the caller closes it) and `size` is the
// file's size. On Failed, `error` (when given) says why in plain words.
ReadStatus openForReading(const std::string& path, int& fd, std::uint64_t& size, std::string* error = nullptr);

// Reads a whole file. On Failed, `error` (when given) says why in plain words.
ReadStatus readWholeFile(const std::string& path, std::string& out, std::string* error = nullptr);

// Replaces (or creates) `path` with `bytes`. On failure the old file is untouched,
// no temporary file is left behind, and `error` (when given) says why.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// Writes the bytes given to it after those given before; false when the write failed.
using ChunkSink = std::function<bool(std::string_view)>;

// The same with the bytes given in pieces by `produce`, so that a large file need not be held
// whole. When `produce` returns false the old file is untouched and no temporary file is left;
// `error` then says why only when a write failed.
bool writeFileAtomically(const std::string& path, const std::function<bool(const ChunkSink&)>& produce,
                         std::string* error = nullptr);

bool fileExists(const std::string& path);

// Creates the folder and its missing parents. True when it exists afterwards.
bool ensureFolder(const std::string& path, std::string* error = nullptr);

// The folder part of a path, with its trailing separator ("" when the path has none).
std::string folderOf(const std::string& path);

} // namespace odrivo
