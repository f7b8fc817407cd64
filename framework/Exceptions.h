#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace retrove {

// Base of every exception the program raises on purpose; the application's
// exception report shows Message() to the user.
class Exception : public std::exception {
public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}

  const std::string& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};

// A text that cannot be turned into the wanted value, or an impossible date.
class EConvertError : public Exception {
  using Exception::Exception;
};

// An index outside a list.
class EListError : public Exception {
  using Exception::Exception;
};

// Component naming and ownership faults.
class EComponentError : public Exception {
  using Exception::Exception;
};

// A published property used against its kind, or written when read-only.
class EPropertyError : public Exception {
  using Exception::Exception;
};

// An operation that the object's current state does not allow.
class EInvalidOperation : public Exception {
  using Exception::Exception;
};

// A failing operating-system call; Message() is the system's own text for
// the status (a Win32 error code or an HRESULT).
class EOSError : public Exception {
public:
  EOSError(std::string message, uint32_t errorCode) : Exception(std::move(message)), FErrorCode(errorCode) {}
  uint32_t ErrorCode() const noexcept { return FErrorCode; }

private:
  uint32_t FErrorCode;
};

}  // namespace retrove
