// The property bag's text file: the exact text written for each type, and
// every kind of malformed file refused with its line.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "control/property_bag_file.h"
#include "orvane/property_bag.h"
#include "registry/expect_error.h"
#include "support/temp_registry.h"

namespace orvane {
namespace {

TEST(PropertyBagFile, WritesOneTypedLinePerPropertyInOrder) {
  PropertyEntries entries = {
      {"HKey", Variant::Long(-2147483646)},       {"Small", Variant::Integer(-32768)},
      {"Tiny", Variant::Byte(161)},               {"Flag", Variant::Boolean(false)},
      {"Ratio", Variant::Double(4294967295.0)},   {"Fraction", Variant::Double(0.1)},
      {"Nothing", Variant()},                     {"Missing", Variant::Null()},
      {"Plain", Variant::String("Software\\Orvane")},
      {"Mixed", Variant::String(std::string("say \"hi\"\0\x7f" "end", 13))},
      {"Binary", Variant::String(std::string("\x01\x02", 2))},
      {"Blank", Variant::String("")},
  };
  EXPECT_EQ(FormatPropertyBag(entries),
            "OrvanePropertyBag 1\n"
            "HKey = Long -2147483646\n"
            "Small = Integer -32768\n"
            "Tiny = Byte 161\n"
            "Flag = Boolean False\n"
            "Ratio = Double 4294967295\n"
            "Fraction = Double 0.1\n"
            "Nothing = Empty\n"
            "Missing = Null\n"
            "Plain = String \"Software\\Orvane\"\n"
            "Mixed = String \"say \"\"hi\"\"\" & Chr(0) & Chr(127) & \"end\"\n"
            "Binary = String Chr(1) & Chr(2)\n"
            "Blank = String \"\"\n");
  EXPECT_EQ(ParsePropertyBag(FormatPropertyBag(entries)), entries);
}

TEST(PropertyBagFile, ReadsCommentsBlankLinesAndCarriageReturns) {
  PropertyEntries entries =
      ParsePropertyBag("OrvanePropertyBag 1\r\n# saved by hand\r\n\r\nValue = String \"x\" & \"y\"\r\n");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].first, "Value");
  EXPECT_EQ(entries[0].second, Variant::String("xy"));
}

struct Malformed {
  const char* text;
  int line;
  const char* message;
};

TEST(PropertyBagFile, RefusesEachMalformedLineNamingIt) {
  const Malformed cases[] = {
      {"", 1, "expected the header 'OrvanePropertyBag 1'"},
      {"OrvanePropertyBag 2\n", 1, "expected the header 'OrvanePropertyBag 1'"},
      {"OrvanePropertyBag 1\nHKey Long 5\n", 2, "expected NAME = TYPE VALUE"},
      {"OrvanePropertyBag 1\n = Long 5\n", 2, "a property needs a name"},
      {"OrvanePropertyBag 1\nH Key = Long 5\n", 2, "a property name has letters, digits and '_' only"},
      {"OrvanePropertyBag 1\nHKey = Currency 5\n", 2, "unknown type 'Currency'"},
      {"OrvanePropertyBag 1\n\nHKey = Long\n", 3, "expected ' '"},
      {"OrvanePropertyBag 1\nHKey = Long five\n", 2, "expected a whole number"},
      {"OrvanePropertyBag 1\nT = Integer 32768\n", 2, "number out of range"},
      {"OrvanePropertyBag 1\nT = Byte -1\n", 2, "expected a whole number"},
      {"OrvanePropertyBag 1\nT = Long 2147483648\n", 2, "number out of range"},
      {"OrvanePropertyBag 1\nT = Long 5 6\n", 2, "unexpected text after the value:  6"},
      {"OrvanePropertyBag 1\nT = Boolean Yes\n", 2, "a Boolean is True or False"},
      {"OrvanePropertyBag 1\nT = Double x\n", 2, "expected a number"},
      {"OrvanePropertyBag 1\nT = String \"open\n", 2, "a string is not closed"},
      {"OrvanePropertyBag 1\nT = String abc\n", 2, "expected '\"'"},
      {"OrvanePropertyBag 1\nT = String Chr(256)\n", 2, "number out of range"},
      {"OrvanePropertyBag 1\nT = String Chr(1\n", 2, "expected ')'"},
      {"OrvanePropertyBag 1\nT = String \"a\" &\n", 2, "unexpected text after the value:  &"},
      {"OrvanePropertyBag 1\nValue = Empty\nVALUE = Null\n", 3, "property 'VALUE' is given twice"},
  };
  for (const Malformed& bad : cases) {
    try {
      ParsePropertyBag(bad.text);
      ADD_FAILURE() << "accepted: " << bad.text;
    } catch (const PropertyBagSyntaxError& error) {
      EXPECT_EQ(error.line(), bad.line) << bad.text;
      EXPECT_EQ(std::string(error.what()), bad.message) << bad.text;
    }
  }
}

TEST(PropertyBagFile, GivesTheLineOfEachEntry) {
  std::vector<int> lines;
  PropertyEntries entries = ParsePropertyBag("OrvanePropertyBag 1\n# note\nA = Long 1\n\nB = Null\n", &lines);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(lines, (std::vector<int>{3, 5}));
}

TEST(PropertyBagFile, ManyPropertiesLoadAndARepeatedNameIsFoundAtItsLine) {
  std::string text = "OrvanePropertyBag 1\n";
  for (int i = 0; i < 100000; ++i) text += "P" + std::to_string(i) + " = Long " + std::to_string(i) + "\n";
  PropertyEntries entries = ParsePropertyBag(text);
  ASSERT_EQ(entries.size(), 100000u);
  EXPECT_EQ(entries[99999], (PropertyEntries::value_type{"P99999", Variant::Long(99999)}));
  text += "p5 = Empty\n";
  try {
    ParsePropertyBag(text);
    ADD_FAILURE() << "a repeated name was accepted";
  } catch (const PropertyBagSyntaxError& error) {
    EXPECT_EQ(error.line(), 100002);
    EXPECT_EQ(std::string(error.what()), "property 'p5' is given twice");
  }
}

TEST(PropertyBagFile, LoadNamesTheFileAndLineOrRaisesTheFileError) {
  TempRegistry dir;
  std::filesystem::path file = dir.path() / "form.txt";
  std::ofstream(file) << "OrvanePropertyBag 1\nHKey = Long 1\nValue = Integer 99999\n";
  try {
    MemoryPropertyBag::LoadFile(file);
    ADD_FAILURE() << "a malformed file loaded";
  } catch (const PropertyBagFileError& error) {
    EXPECT_EQ(std::string(error.what()), file.string() + ":3: number out of range");
  }
  EXPECT_ERROR_NUMBER(MemoryPropertyBag::LoadFile(dir.path() / "absent.txt"), 53);
}

TEST(PropertyBagFile, SaveRefusesAnArrayAndLeavesTheFileAsItWas) {
  TempRegistry dir;
  std::filesystem::path file = dir.path() / "form.txt";
  MemoryPropertyBag bag;
  bag.WriteProperty("Value", Variant::Long(1), Variant());
  bag.SaveFile(file);
  bag.WriteProperty("Value", Variant::Array(SafeArray(VarType::kLong, {{0, 1}})), Variant());
  EXPECT_ERROR_NUMBER(bag.SaveFile(file), 13);
  EXPECT_EQ(MemoryPropertyBag::LoadFile(file).entries().at(0).second, Variant::Long(1));
  bag.WriteProperty("Value", Variant::Long(2), Variant());
  EXPECT_ERROR_NUMBER(bag.SaveFile(dir.path() / "no" / "such" / "form.txt"), 76);
}

TEST(MemoryPropertyBag, NamesIgnoreCaseAndARewriteKeepsItsPlace) {
  MemoryPropertyBag bag;
  bag.WriteProperty("HKey", Variant::Long(1), Variant());
  bag.WriteProperty("Value", Variant::Integer(2), Variant());
  bag.WriteProperty("hkey", Variant::Long(3), Variant());
  ASSERT_EQ(bag.entries().size(), 2u);
  EXPECT_EQ(bag.entries()[0].first, "HKey");
  EXPECT_EQ(bag.ReadProperty("HKEY", Variant()), Variant::Long(3));
  EXPECT_EQ(bag.ReadProperty("Absent", Variant::Boolean(true)), Variant::Boolean(true));
}

}  // namespace
}  // namespace orvane
