#pragma once

#include <exception>
#include <string>

namespace wiremap {

// Base of every error the program raises. The message is what the user sees;
// the class name appears in the error boxes of host calls.
class Exception : public std::exception {
 public:
  explicit Exception(std::string AMessage) : FMessage(std::move(AMessage)) {}
  const std::string& Message() const { return FMessage; }
  virtual std::string ClassName() const { return "Exception"; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// A failed internal consistency check.
class EAssertionFailed : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EAssertionFailed"; }
};

// Throws EAssertionFailed with "<text> (<unit>, line <line>)".
[[noreturn]] void RaiseAssertion(const char* AText, const char* AUnit, int ALine);

}  // namespace wiremap

// Checks a condition; a .cpp file that uses it defines `kAssertUnit`, the unit name
// reported in the message ("Wiremap" for the model).
#define WIREMAP_ASSERT(ACondition)                                                            \
  do {                                                                                        \
    if (!(ACondition)) ::wiremap::RaiseAssertion("Assertion failure", kAssertUnit, __LINE__); \
  } while (false)

#define WIREMAP_ASSERT_MSG(ACondition, AText)                                   \
  do {                                                                          \
    if (!(ACondition)) ::wiremap::RaiseAssertion(AText, kAssertUnit, __LINE__); \
  } while (false)
