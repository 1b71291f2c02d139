#include "files/QetProjectReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "RecordPrinter.h"
#include "files/ProjectFile.h"
#include "model/TextCompare.h"
#include "model/Wiremaps.h"

namespace wiremap {
namespace {

using ::testing::ElementsAre;
using ::testing::MatchesRegex;

// Definitions: a coil (master) and its contact (slave), a lamp, a terminal block and the
// two folio-report arrows. Terminal points lie 4 units outside the docking points the
// placed elements list.
const char* const Collection = R"(
<collection><category name="import"><category name="parts">
 <element name="coil.elmt"><definition link_type="master"><description>
  <terminal x="0" y="-20" orientation="n" uuid="{C0000000-0000-0000-0000-000000000001}" name=""/>
  <terminal x="0" y="20" orientation="s" uuid="{C0000000-0000-0000-0000-000000000002}" name=""/>
 </description></definition></element>
 <element name="contact.elmt"><definition link_type="slave"><description>
  <terminal x="0" y="-20" orientation="n" name="13"/>
  <terminal x="0" y="20" orientation="s" name="_"/>
 </description></definition></element>
 <element name="lamp.elmt"><definition link_type="simple"><description>
  <terminal x="-10" y="0" orientation="w" uuid="{L0}"/>
  <terminal x="10" y="0" orientation="e" uuid="{L1}"/>
 </description></definition></element>
 <element name="block.elmt"><definition link_type="terminal"><description>
  <terminal x="0" y="-10" orientation="n" uuid="{t1}"/>
  <terminal x="0" y="10" orientation="s" uuid="{t2}"/>
 </description></definition></element>
 <element name="next.elmt"><definition link_type="next_report"><description>
  <terminal x="-10" y="0" orientation="w"/>
 </description></definition></element>
 <element name="previous.elmt"><definition link_type="previous_report"><description>
  <terminal x="10" y="0" orientation="e"/>
 </description></definition></element>
</category></category></collection>)";

std::string Project(const std::string& AFolios) {
  return std::string(R"(<?xml version="1.0" encoding="UTF-8"?>)") +
         "<project title=\" Test bench \" version=\"0.90\">" + AFolios + Collection + "</project>";
}

// Two folios exercising every rule: legacy ids, uuid ends and both in one conductor,
// terminal blocks with and without isolation, a slave named after its master, reports
// across folios, made-up designations and the conductors the editor drops.
const std::string Fixture = Project(R"(
<diagram title="one"><elements>
 <element type="embed://import/parts/coil.elmt" uuid="{A1}">
  <terminals><terminal x="0" y="-16" orientation="0" id="0"/>
             <terminal x="0" y="16" orientation="2" id="1"/></terminals>
  <elementInformations><elementInformation name="label"> K1 </elementInformation></elementInformations>
 </element>
 <element type="embed://import/parts/lamp.elmt" uuid="{A2}">
  <terminals><terminal x="-6" y="0" orientation="3" id="2" name="L"/>
             <terminal x="6" y="0" orientation="1" id="3"/></terminals>
  <elementInformations><elementInformation name="label">_</elementInformation></elementInformations>
 </element>
 <element type="embed://import/parts/block.elmt" uuid="{a3}">
  <terminals><terminal x="0" y="-6" orientation="0" id="4"/>
             <terminal x="0" y="6" orientation="2" id="5"/></terminals>
  <elementInformations><elementInformation name="label">X1:3</elementInformation></elementInformations>
 </element>
 <element type="embed://import/parts/block.elmt" uuid="{A4}">
  <terminals><terminal x="0" y="-6" orientation="0" id="6"/>
             <terminal x="0" y="6" orientation="2" id="7"/></terminals>
  <elementInformations><elementInformation name="label">X2</elementInformation>
   <elementInformation name="potential_isolating">true</elementInformation></elementInformations>
 </element>
 <element type="embed://import/parts/block.elmt" uuid="{A5}">
  <terminals><terminal x="0" y="-6" orientation="0" id="9"/>
             <terminal x="0" y="6" orientation="2" id="10"/></terminals>
  <elementInformations><elementInformation name="label">x2</elementInformation>
   <elementInformation name="potential_isolating">false</elementInformation></elementInformations>
 </element>
 <element type="embed://import/parts/next.elmt" uuid="{R1}">
  <terminals><terminal x="-6" y="0" orientation="3" id="8"/></terminals>
  <links_uuids><link_uuid uuid="{R2}"/></links_uuids>
 </element>
 <element type="embed://import/parts/missing.elmt" uuid="{A7}"/>
 <element type="embed://import/parts/next.elmt" uuid="{R6}">
  <terminals><terminal x="-6" y="0" orientation="3" id="11"/></terminals>
  <links_uuids><link_uuid uuid="{R7}"/></links_uuids>
 </element>
</elements><conductors>
 <conductor terminal1="1" terminal2="2" num=" W1 "/>
 <conductor element1="{a1}" terminal1="c0000000-0000-0000-0000-000000000001"
            element2="{A3}" terminal2="{T2}" num="W2"/>
 <conductor element1="{A3}" terminal1="{t1}" terminal2="6"/>
 <conductor terminal1="10" terminal2="8" num="W4"/>
 <conductor terminal1="99" terminal2="1"/>
 <conductor terminal1="1" terminal2="1"/>
 <conductor terminal1="2" terminal2="1"/>
 <conductor element1="{FFFF}" terminal1="{L0}" terminal2="3"/>
</conductors></diagram>
<diagram title="two"><elements>
 <element type="embed://import/parts/previous.elmt" uuid="{R2}">
  <terminals><terminal x="6" y="0" orientation="1" id="0"/></terminals>
  <links_uuids><link_uuid uuid="{R1}"/></links_uuids>
 </element>
 <element type="embed://import/parts/contact.elmt" uuid="{B2}">
  <terminals><terminal x="0" y="-16" orientation="0" id="1"/>
             <terminal x="0" y="16" orientation="2" id="2"/></terminals>
  <links_uuids><link_uuid uuid="{A1}"/></links_uuids>
 </element>
 <element type="embed://import/parts/lamp.elmt" uuid="{B3}">
  <terminals><terminal x="-6" y="0" orientation="3" id="3"/>
             <terminal x="6" y="0" orientation="1" id="4"/></terminals>
 </element>
 <element type="embed://import/parts/next.elmt" uuid="{R3}">
  <terminals><terminal x="-6" y="0" orientation="3" id="5"/></terminals>
  <links_uuids><link_uuid uuid="{R4}"/></links_uuids>
 </element>
 <element type="embed://import/parts/previous.elmt" uuid="{R7}">
  <terminals><terminal x="6" y="0" orientation="1" id="6"/></terminals>
  <links_uuids><link_uuid uuid="{R6}"/></links_uuids>
 </element>
 <element type="embed://import/parts/lamp.elmt" uuid="{B6}">
  <terminals><terminal x="-6" y="0" orientation="3" id="0"/>
             <terminal x="6" y="0" orientation="1" id="7"/></terminals>
 </element>
</elements><conductors>
 <conductor terminal1="0" terminal2="1"/>
 <conductor terminal1="2" terminal2="3" num="W6"/>
 <conductor terminal1="5" terminal2="4"/>
 <conductor terminal1="6" terminal2="3"/>
</conductors></diagram>)");

class QetProjectReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { SetCollationLocale("C"); }
};

TEST_F(QetProjectReaderTest, FollowsTheEditorsRules) {
  const TProjectFile File = ReadQetProject(Fixture);
  EXPECT_EQ(File.Name, "Test bench");
  const TConnectionRecs Expected = {
      {"K1", "#2", 1, "?1.2", "L", 1, "W1"},   // legacy ids; wire name trimmed
      {"K1", "#1", 1, "X1", "3", 1, "W2"},     // uuid ends in any spelling
      {"X1", "3", 1, "X2", "#1", 1, ""},       // mixed ends; isolating block
      {"x2", "#3", 1, "?1.6", "#1", 1, "W4"},  // one pin, counted after X2's
      {"?2.1", "#1", 2, "K1", "13", 2, ""},    // slave named after its master
      {"K1", "#3", 2, "?2.3", "#1", 2, "W6"},  // ... numbered after the coil
      {"?2.4", "#1", 2, "?2.3", "#2", 2, ""},  //
      {"?2.5", "#1", 2, "?2.3", "#1", 2, ""},  //
      {"?1.6", "#1", 1, "?2.1", "#1", 2, ""},  // the report pair joins the folios
  };
  EXPECT_EQ(File.Records, Expected);
  EXPECT_THAT(File.Warnings,
              ElementsAre("folio 1: element 7 skipped: its definition "
                          "\"embed://import/parts/missing.elmt\" is not in the project",
                          "folio 2: element 6 skipped: its terminal id 0 is already used on "
                          "the folio",
                          "folio 1: conductor 5 skipped: end 1 names no terminal of the folio",
                          "folio 1: conductor 6 skipped: both ends are one terminal",
                          "folio 1: conductor 7 skipped: another conductor joins the same two "
                          "terminals",
                          "folio 1: conductor 8 skipped: end 1 names no terminal of the folio"));

  TWiremaps Graph;
  Graph.AddConnections(File.Records);
  Graph.ComputeNets();
  EXPECT_EQ(Graph.GetPinCount(), 14);
  EXPECT_EQ(Graph.NetCount, 5);
}

TEST_F(QetProjectReaderTest, RefusesWhatIsNotAProject) {
  const struct {
    std::string Text;
    std::string Message;
  } Cases[] = {
      {"", "Not a QElectroTech project: no document element found at byte 0"},
      {"<project><diagram></project>",
       "Not a QElectroTech project: start-end tags mismatch at byte 20"},
      {"<element/>",
       "Not a QElectroTech project: the document element is <element>, not <project>"},
  };
  for (const auto& Case : Cases) {
    try {
      ReadQetProject(Case.Text);
      ADD_FAILURE() << Case.Text;
    } catch (const EProjectFileError& Error) {
      EXPECT_EQ(Error.Message(), Case.Message);
      EXPECT_EQ(Error.ClassName(), "EProjectFileError");
    }
  }
}

// Entities a document declares are never expanded, so ten levels of ten references stay
// a few bytes of literal text.
TEST_F(QetProjectReaderTest, BillionLaughsStayBounded) {
  std::string Declarations = "<!DOCTYPE project [<!ENTITY lol0 \"lol\">";
  for (int I = 1; I < 10; ++I) {
    Declarations += "<!ENTITY lol" + std::to_string(I) + " \"";
    for (int K = 0; K < 10; ++K) Declarations += "&lol" + std::to_string(I - 1) + ";";
    Declarations += "\">";
  }
  Declarations += "<!ENTITY ext SYSTEM \"file:///etc/passwd\">]>";
  const auto Start = std::chrono::steady_clock::now();
  const TProjectFile File = ReadQetProject(Declarations + "<project title=\"&lol9;&ext;\"/>");
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(1));
  EXPECT_EQ(File.Name, "&lol9;&ext;");
  EXPECT_TRUE(File.Records.empty());
}

}  // namespace
}  // namespace wiremap
