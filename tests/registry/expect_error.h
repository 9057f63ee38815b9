// EXPECT_ERROR_NUMBER(statement, number): the statement raises orvane::Error
// with exactly that number (any other outcome fails the test at the
// caller's line).
#pragma once

#include <gtest/gtest.h>

#include "orvane/error.h"

#define EXPECT_ERROR_NUMBER(statement, expected_number)                                 \
  do {                                                                                   \
    try {                                                                                \
      statement;                                                                         \
      ADD_FAILURE() << #statement " raised nothing; expected " << (expected_number);    \
    } catch (const ::orvane::Error& error_) {                                            \
      EXPECT_EQ(error_.number(), (expected_number)) << #statement ": " << error_.what(); \
    }                                                                                    \
  } while (false)
