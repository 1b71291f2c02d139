// The bulk paths of the model (loading many records, building the key values, filling a
// sorted list at once) must give exactly what the one-by-one operations give.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "model/Wiremap.h"

namespace wiremap {
namespace {

// Names from a small pool, so that pins repeat, with letter-case twins.
std::string RandomName(std::mt19937& ARandom, const char* APool) {
  std::string Name = APool;
  Name += std::to_string(ARandom() % 23);
  if (ARandom() % 3 == 0) Name[1] = static_cast<char>(Name[1] ^ 0x20);
  return Name;
}

TConnectionRecs RandomRecords(size_t ACount, std::mt19937& ARandom) {
  TConnectionRecs Records(ACount);
  for (TConnectionRec& R : Records)
    R = {RandomName(ARandom, "=f+l-k"),       std::to_string(ARandom() % 4),
         static_cast<int32_t>(ARandom() % 9), RandomName(ARandom, "+r-x"),
         std::to_string(ARandom() % 4),       static_cast<int32_t>(ARandom() % 9 + 10),
         std::to_string(ARandom() % 50)};
  return Records;
}

TEST(BulkPaths, AddConnectionsEqualsOneAddConnectionPerRecord) {
  SetCollationLocale("C");
  std::mt19937 Random(5);
  for (const size_t Count : {0, 1, 15, 16, 17, 1000}) {
    const TConnectionRecs Records = RandomRecords(Count, Random);
    TWiremaps Bulk, Single;
    Bulk.AddConnections(Records);
    for (const TConnectionRec& R : Records)
      Single.AddConnection(PinNameOf(R.DesignationA, R.PinA), PinNameOf(R.DesignationB, R.PinB),
                           R.WireName, R.PageA, R.PageB);
    ASSERT_EQ(Bulk.GetPinCount(), Single.GetPinCount()) << Count;
    for (int32_t N = 0; N < Bulk.GetPinCount(); ++N) {
      const TPinDescr &B = *Bulk.GetPin(N), &S = *Single.GetPin(N);
      ASSERT_EQ(std::tie(B.Name, B.Page, B.Links, B.LinkWires),
                std::tie(S.Name, S.Page, S.Links, S.LinkWires))
          << Count << " records, pin " << N;
    }
  }
}

TEST(BulkPaths, KeyValuesMatchAMapOfFirstSpellings) {
  SetCollationLocale("C");
  std::mt19937 Random(9);
  TProject Project(RandomRecords(300, Random), "");
  const TWiremaps& Graph = Project.Graph();
  ASSERT_GT(Graph.GetPinCount(), 16);
  const TKeyValues& Keys = Project.KeyValues();
  for (int K = 0; K < AspectCount; ++K) {
    std::map<std::string, std::string> FirstSpelling;  // plain-ASCII keys order like texts
    for (int32_t N = 0; N < Graph.GetPinCount(); ++N) {
      const std::string Value = Graph.GetPin(N)->GetAspect(static_cast<TAspectKind>(K));
      FirstSpelling.emplace(CollationKey(Value), Value);
    }
    std::vector<std::string> Expected, Listed;
    for (const auto& [Key, Value] : FirstSpelling) Expected.push_back(Value);
    for (int I = 0; I < Keys.Lists[K].Count(); ++I) Listed.push_back(Keys.Lists[K][I]);
    ASSERT_EQ(Listed, Expected) << "aspect " << K;
    for (int32_t N = 0; N < Graph.GetPinCount(); ++N) {
      const TPinDescr& Pin = *Graph.GetPin(N);
      ASSERT_TRUE(SameText(Listed.at(Pin.Keys[K]), Pin.GetAspect(static_cast<TAspectKind>(K))))
          << "pin " << N << ", aspect " << K;
    }
  }
}

TEST(BulkPaths, AssignEqualsRepeatedAdd) {
  SetCollationLocale("C");
  std::mt19937 Random(3);
  std::vector<std::string> Texts;
  for (int I = 0; I < 2000; ++I) Texts.push_back(RandomName(Random, "+Pump-house"));
  TSortedTextList Bulk, OneByOne;
  const std::vector<int> Positions = Bulk.Assign(Texts);
  for (const std::string& Text : Texts) OneByOne.Add(Text);
  ASSERT_EQ(Bulk.Count(), OneByOne.Count());
  for (int I = 0; I < Bulk.Count(); ++I) ASSERT_EQ(Bulk[I], OneByOne[I]);
  for (size_t I = 0; I < Texts.size(); ++I) {
    int Position = -1;
    ASSERT_TRUE(OneByOne.Find(Texts[I], Position));
    ASSERT_EQ(Positions[I], Position) << Texts[I];
  }
}

}  // namespace
}  // namespace wiremap
