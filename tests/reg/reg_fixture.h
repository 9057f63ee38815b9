// Runs orvane-reg command lines in-process on a private registry store, with
// the answers to its questions given as text, and keeps what it printed.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/temp_registry.h"
#include "tools/reg/reg_console.h"
#include "tools/reg/reg_program.h"
#include "tools/reg/reg_store.h"
#include "tools/reg/reg_value_text.h"

namespace orvane::reg {

// How a failed expectation shows a stored value.
inline void PrintTo(const Value& value, std::ostream* out) {
  *out << "{\"" << value.name << "\" " << TypeName(value.type) << " " << FormatData(REG_BINARY, value.data) << "}";
}

}  // namespace orvane::reg

namespace orvane::reg::testing {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

class RegTest : public ::testing::Test {
 protected:
  // Runs `args` (the words after the program name) with `answers` as input;
  // with `terminal`, as if its output were a terminal.
  RunResult Run(const std::vector<std::string>& args, const std::string& answers = "", bool terminal = false) {
    std::ostringstream out, err;
    std::istringstream in(answers);
    Console console{out, err, in, terminal};
    RunResult result;
    result.status = RunReg(console, args);
    result.out = out.str();
    result.err = err.str();
    return result;
  }

  // Runs `args`, which must succeed, and returns its output.
  std::string Ok(const std::vector<std::string>& args) {
    const RunResult result = Run(args);
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
  }

  TempRegistry registry_;
};

constexpr char kDone[] = "The operation completed successfully.\n";

}  // namespace orvane::reg::testing
