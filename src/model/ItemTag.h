// The tag of an item or checkpoint: an integer, or an owned 8-bit string when the
// control keeps string tags. Copies duplicate the string.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace pagora {

class TPGTag {
public:
  TPGTag() = default;
  [[nodiscard]] static TPGTag Int(std::int32_t value) { TPGTag t; t.value_ = value; return t; }
  [[nodiscard]] static TPGTag Str(std::string_view text) {
    TPGTag t;
    t.text_ = std::make_unique<std::string>(text);
    return t;
  }

  TPGTag(const TPGTag& other) : value_(other.value_), text_(other.text_ ? std::make_unique<std::string>(*other.text_) : nullptr) {}
  TPGTag& operator=(const TPGTag& other) {
    if (this != &other) {
      value_ = other.value_;
      text_ = other.text_ ? std::make_unique<std::string>(*other.text_) : nullptr;
    }
    return *this;
  }
  TPGTag(TPGTag&&) noexcept = default;
  TPGTag& operator=(TPGTag&&) noexcept = default;

  [[nodiscard]] bool IsString() const noexcept { return text_ != nullptr; }
  [[nodiscard]] std::int32_t AsInt() const noexcept { return text_ ? 0 : value_; }
  // The string of a string tag; empty for integer tags.
  [[nodiscard]] std::string_view AsString() const noexcept { return text_ ? std::string_view(*text_) : std::string_view{}; }
  // No tag: the integer 0 or an empty string.
  [[nodiscard]] bool IsEmpty() const noexcept { return text_ ? text_->empty() : value_ == 0; }

  // Equal tags: both empty, or both of one kind with equal values.
  friend bool operator==(const TPGTag& a, const TPGTag& b) noexcept {
    if (a.IsEmpty() || b.IsEmpty()) return a.IsEmpty() && b.IsEmpty();
    if (a.IsString() != b.IsString()) return false;
    return a.IsString() ? *a.text_ == *b.text_ : a.value_ == b.value_;
  }

private:
  std::int32_t value_ = 0;
  std::unique_ptr<std::string> text_;
};

}  // namespace pagora
