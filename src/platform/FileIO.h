// Whole-file reading with a size bound, and saving that never leaves a half-written file:
// the bytes go to a temporary file beside the target, are flushed to the disk, and only
// then replace the target.
#pragma once

#include <cstddef>
#include <string>

namespace pagora {

// Files larger than this are refused by the document readers (a bound on memory).
inline constexpr std::size_t kMaxDocumentFileBytes = std::size_t{512} << 20;

// Reads the whole file into bytes. False with a message naming the reason when the file
// cannot be opened or read, or is larger than maxBytes.
[[nodiscard]] bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error,
                                 std::size_t maxBytes = kMaxDocumentFileBytes);

// Replaces the file with the bytes, atomically: after a crash or power loss the file holds
// either its old or its new content. False with a message when it cannot be written.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                                       std::string& error);

}  // namespace pagora
