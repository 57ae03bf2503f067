// What a fallible operation gives back: its value, or the reason there is
// none in words for a person. Where a caller must tell several failures
// apart it gets an enum instead (SaveOutcome, SourceLock::Outcome).
#ifndef VIGIL_STORE_RESULT_H_
#define VIGIL_STORE_RESULT_H_

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace vigil {

struct Error {
  std::string why;
};

inline Error Failure(std::string why) { return Error{std::move(why)}; }

template <typename T>
class [[nodiscard]] Result final {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T value_or(T fallback) const& { return ok() ? value() : fallback; }

  // Empty when the operation worked.
  const std::string& error() const {
    static const std::string kNone;
    return ok() ? kNone : std::get<1>(state_).why;
  }

 private:
  std::variant<T, Error> state_;
};

// An operation that gives nothing back but may fail.
template <>
class [[nodiscard]] Result<void> final {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)) {}

  bool ok() const { return !error_; }
  explicit operator bool() const { return ok(); }
  void value() const {}
  const std::string& error() const {
    static const std::string kNone;
    return error_ ? error_->why : kNone;
  }

 private:
  std::optional<Error> error_;
};

}  // namespace vigil

// The value of a Result; when it failed, the enclosing function returns
// its error at once (which must itself return a Result).
#define VIGIL_TRY(expression)                             \
  __extension__({                                         \
    auto vigil_try_result_ = (expression);                \
    if (!vigil_try_result_) {                             \
      return ::vigil::Failure(vigil_try_result_.error()); \
    }                                                     \
    std::move(vigil_try_result_).value();                 \
  })

#endif  // VIGIL_STORE_RESULT_H_
