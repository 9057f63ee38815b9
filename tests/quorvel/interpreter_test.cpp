#include <gtest/gtest.h>

#include <sstream>

#include "support/temp_registry.h"
#include "tools/quorvel/host.h"
#include "tools/quorvel/interpreter.h"
#include "tools/quorvel/parser.h"

namespace quorvel {
namespace {

using orvane::Variant;

class InterpreterTest : public ::testing::Test {
 protected:
  // Runs the script and returns what it printed.
  std::string Run(std::string_view script) {
    out_.str("");
    clean_ = interpreter_.Run(Parse(script));
    return out_.str();
  }

  Variant VariableValue(std::string_view name) {
    const Variant* value = interpreter_.FindVariable(name);
    return value ? *value : Variant::String("<unassigned>");
  }

  TempRegistry registry_;
  Host host_;
  std::ostringstream out_;
  Interpreter interpreter_{host_, out_};
  bool clean_ = false;
};

TEST_F(InterpreterTest, ErrHoldsThePreviousStatementsErrorUntilAStatementSucceeds) {
  EXPECT_EQ(Run("GlobalKeyPath = \"HKEY_NOWHERE\"\n"
                "Print Err.Number, Err.Source, Err.Description, Err.HelpContext\n"
                "Print Err.Number, Err.Description"),
            "Error 60007: The parameter is incorrect.\n"
            "Long 60007\nString \"Orvane\"\nString \"The parameter is incorrect.\"\nLong 1000\n"
            "Long 0\nString \"\"\n");
  EXPECT_FALSE(clean_);
  EXPECT_EQ(interpreter_.err().number, 0);
}

TEST_F(InterpreterTest, ErrKeepsTheWholeRecordOfTheLastError) {
  Run("Print 1: Print Chr(256)");
  EXPECT_FALSE(clean_);
  EXPECT_EQ(interpreter_.err().number, 5);
  EXPECT_EQ(interpreter_.err().description, "Invalid procedure call or argument");
  Run("x = \"" + std::string(256, 'k') + "\": SubKeyPath = x");
  EXPECT_EQ(interpreter_.err().number, 60010);
  EXPECT_EQ(interpreter_.err().source, "Orvane");
  EXPECT_EQ(interpreter_.err().help_context, 1000);
  EXPECT_TRUE(interpreter_.err().help_file.ends_with("Orvanex.hlp")) << interpreter_.err().help_file;
}

TEST_F(InterpreterTest, TheStatementAfterOneThatRaisesStillRunsOnTheSameLine) {
  EXPECT_EQ(Run("Print x(0): Print 1"), "Error 13: Type mismatch\nInteger 1\n");
  EXPECT_FALSE(clean_);
  EXPECT_EQ(Run("Print 2"), "Integer 2\n");
  EXPECT_TRUE(clean_);
}

// A bare variable passed to a method goes by reference and receives the
// argument as the method left it (here converted to the parameter's Long);
// any other expression is a temporary.
TEST_F(InterpreterTest, BareVariableArgumentReceivesTheWriteBack) {
  Run("m = \"1\": n = \"1\": a = Array(\"1\")\n"
      "VerifyExistence m\nVerifyExistence (n)\nVerifyExistence a(0)\nCall VerifyExistence(fresh)");
  EXPECT_EQ(VariableValue("m"), Variant::Long(1));
  EXPECT_EQ(VariableValue("n"), Variant::String("1"));
  EXPECT_EQ(VariableValue("fresh"), Variant::Long(0));
  EXPECT_EQ(Run("Print a(0)"), "String \"1\"\n");
}

TEST_F(InterpreterTest, ExpressionCallsPassBareVariablesByReferenceToo) {
  Run("m = \"0\": x = VerifyExistence(m)");
  EXPECT_EQ(VariableValue("m"), Variant::Long(0));
}

TEST_F(InterpreterTest, SetNewKeepsCreationOrderAndNothingDestroys) {
  Run("Set b = New Quorvel: Set a = New Quorvel: Set B = New Quorvel");
  EXPECT_EQ(host_.ControlNames(), (std::vector<std::string>{"Quorvel1", "a", "B"}));
  Run("Set a = Nothing: Set never = Nothing");
  EXPECT_EQ(host_.ControlNames(), (std::vector<std::string>{"Quorvel1", "B"}));
  EXPECT_TRUE(clean_);
}

TEST_F(InterpreterTest, EachControlKeepsItsOwnLocation) {
  EXPECT_EQ(Run("Set q = New Quorvel\n"
                "q.GlobalKeyPath = \"hkey_users\\x\"\n"
                "Print q.hKey, hKey, Quorvel1.GlobalKeyPath, Q.globalkeypath"),
            "Long -2147483645\nLong -2147483648\nString \"HKEY_CLASSES_ROOT\"\nString \"HKEY_USERS\\x\"\n");
}

TEST_F(InterpreterTest, ObjectNamesUsedAsValuesOrWithoutAnObjectRaise) {
  EXPECT_EQ(Run("Set q = Nothing: Print q.hKey\n"
                "x = 5: Print x.hKey\n"
                "Print nope.hKey\n"
                "Print Quorvel1\n"
                "Quorvel1 = 5\n"
                "Print Quorvel1.Nope\n"
                "y = q\n"
                "Set Quorvel1 = Nothing: Print hKey\n"
                "Print LBound(Quorvel1)"),
            "Error 91: Object variable or With block variable not set\n"
            "Error 424: Object required\n"
            "Error 424: Object required\n"
            "Error 438: Object doesn't support this property or method\n"
            "Error 438: Object doesn't support this property or method\n"
            "Error 438: Object doesn't support this property or method\n"
            "Error 91: Object variable or With block variable not set\n"
            "Error 91: Object variable or With block variable not set\n"
            "Error 91: Object variable or With block variable not set\n");
}

TEST_F(InterpreterTest, SetTurnsAVariableIntoAControl) {
  EXPECT_EQ(Run("x = 5: Set x = New Quorvel: x.ValueName = \"\\a\\b\\\": Print x.ValueName"),
            "String \"a\\b\"\n");
  EXPECT_EQ(interpreter_.FindVariable("x"), nullptr);
}

TEST_F(InterpreterTest, TheContainerRecordsEachControlsPropertyChanges) {
  const ControlSite* site = host_.Site("quorvel1");
  ASSERT_NE(site, nullptr);
  size_t before = site->changed().size();
  Run("GlobalKeyPath = \"HKEY_USERS\": ValueName = \"v\"");
  std::vector<std::string> changed(site->changed().begin() + static_cast<long>(before), site->changed().end());
  EXPECT_EQ(changed, (std::vector<std::string>{"HKey", "SubKeyPath", "GlobalKeyPath", "ValueName"}));
}

TEST_F(InterpreterTest, PropertyValuesAreConvertedAtTheInterface) {
  EXPECT_EQ(Run("hKey = \"&H80000002\": Print GlobalKeyPath\n"
                "hKey = 3000000000\n"
                "ValueType = \"x\"\n"
                "ValueType = \"4\": Print Value"),
            "String \"HKEY_LOCAL_MACHINE\"\nError 6: Overflow\nError 13: Type mismatch\nInteger 0\n");
}

TEST_F(InterpreterTest, BuiltinsRaiseTheRuntimesErrors) {
  EXPECT_EQ(Run("Print Chr(-1)\nPrint LBound(5)\nPrint UBound(Array(), 2)\nPrint Table(1)\n"
                "Print Table(Table())\nPrint -Array()\nPrint CByte(256)\nPrint CLng(\"x\")\nPrint CStr(Null)"),
            "Error 5: Invalid procedure call or argument\nError 13: Type mismatch\nError 9: Subscript out of range\n"
            "Error 13: Type mismatch\nError 13: Type mismatch\nError 13: Type mismatch\nError 6: Overflow\n"
            "Error 13: Type mismatch\nError 94: Invalid use of Null\n");
}

TEST_F(InterpreterTest, AJoinChainFoldsFromTheLeft) {
  EXPECT_EQ(Run("Print Null & Null & Null, Null & Null & \"x\", 1 & Null & Null, \"a\" & Array() & x(0)"),
            "Null\nString \"x\"\nString \"1\"\nError 13: Type mismatch\n");
}

TEST_F(InterpreterTest, NegationAndConcatenationFollowTheRuntimesTypes) {
  EXPECT_EQ(Run("Print -True, -CByte(3), -CInt(-32768), -CLng(-2147483648), -\"2.5\", -Empty, -Null\n"
                "Print Null & Null, Null & 1, 1.5 & True, \"a\" & Empty"),
            "Integer 1\nInteger -3\nLong 32768\nDouble 2147483648\nDouble -2.5\nInteger 0\nNull\n"
            "Null\nString \"1\"\nString \"1.5True\"\nString \"a\"\n");
}

TEST_F(InterpreterTest, ArrayElementsAreReadByIndex) {
  EXPECT_EQ(Run("t = Table(Array(1, 2), Array(3))\n"
                "Print t(1, 0), t(1, 1), UBound(t, 1), UBound(t, 2), LBound(t, 2)\n"
                "Print t(2, 0)\nPrint t(0)\ns = \"x\": Print s(0)"),
            "Integer 3\nEmpty\nLong 1\nLong 1\nLong 0\n"
            "Error 9: Subscript out of range\nError 9: Subscript out of range\nError 13: Type mismatch\n");
}

TEST_F(InterpreterTest, VariableNamesIgnoreLetterCase) {
  EXPECT_EQ(Run("Abc = 1: abc = abc & \"x\": Print ABC, neverSet"), "String \"1x\"\nEmpty\n");
}

}  // namespace
}  // namespace quorvel
