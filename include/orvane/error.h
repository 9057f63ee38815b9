// The error record that crosses the control's interface, and the one
// exception type that carries it. The control's numbered errors and the
// hosting runtime's standard errors (overflow, type mismatch, ...) both use it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace orvane {

struct ErrorRecord {
  int32_t number = 0;
  std::string source;
  std::string description;
  std::string help_file;
  int32_t help_context = 0;
};

class Error : public std::exception {
 public:
  explicit Error(ErrorRecord record) : record_(std::move(record)) {}

  const ErrorRecord& record() const noexcept { return record_; }
  int32_t number() const noexcept { return record_.number; }
  const std::string& description() const noexcept { return record_.description; }
  const char* what() const noexcept override { return record_.description.c_str(); }

 private:
  ErrorRecord record_;
};

}  // namespace orvane
