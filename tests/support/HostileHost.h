#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/Dpscad_TLB.h"

namespace wiremap {

// What a hostile host does at one of its calls, counted over all object-returning calls
// and all counts: answer with no object, or give a count that is not the list's.
struct THostilePlan {
  enum TAction { None, NoObject, NegativeCount, OneMore, HugeCount };

  std::map<int32_t, TAction> Actions;
  int32_t Calls = 0;
  std::set<int32_t> CountCalls;  // the calls so far that were counts

  TAction Next() {
    const auto Found = Actions.find(++Calls);
    return Found == Actions.end() ? None : Found->second;
  }

  int32_t Count(int32_t ATrue) {
    const TAction Action = Next();
    CountCalls.insert(Calls);
    switch (Action) {
      case NegativeCount:
        return -1 - ATrue;
      case OneMore:
        return ATrue + 1;
      case HugeCount:
        return std::numeric_limits<int32_t>::max();
      default:
        return ATrue;
    }
  }
};

using TPlanPtr = std::shared_ptr<THostilePlan>;

// The host's object, behind a proxy of kind TProxy unless that is void, or none where the
// plan says so.
template <class TProxy = void, class TObject>
std::shared_ptr<TObject> Answer(const TPlanPtr& APlan, std::shared_ptr<TObject> AInner) {
  if (APlan->Next() == THostilePlan::NoObject || !AInner) return nullptr;
  if constexpr (std::is_void_v<TProxy>)
    return AInner;
  else
    return std::make_shared<TProxy>(APlan, std::move(AInner));
}

// Proxies over the objects of another host that follow the plan and pass everything else
// on unchanged.
template <class TInterface>
class THostileProxy : public TInterface {
 public:
  THostileProxy(TPlanPtr APlan, std::shared_ptr<TInterface> AInner)
      : FPlan(std::move(APlan)), FInner(std::move(AInner)) {}

 protected:
  TPlanPtr FPlan;
  std::shared_ptr<TInterface> FInner;
};

// A list whose items are passed on behind a TItemProxy (or as they are, for void).
template <class TList, class TItemProxy = void>
class THostileList : public THostileProxy<TList> {
 public:
  using THostileProxy<TList>::THostileProxy;
  decltype(std::declval<TList&>().Item(0)) Item(int32_t AIndex) override {
    return Answer<TItemProxy>(this->FPlan, this->FInner->Item(AIndex));
  }
  int32_t Count() override { return this->FPlan->Count(this->FInner->Count()); }
};

class THostileSymbol : public THostileProxy<IHostSymbol> {
 public:
  using THostileProxy::THostileProxy;
  bool Active() override { return FInner->Active(); }
  int32_t Handle() override { return FInner->Handle(); }
  int32_t BranchState() override { return FInner->BranchState(); }
  std::shared_ptr<IHostLayer> Layer() override { return Answer(FPlan, FInner->Layer()); }
  std::shared_ptr<IHostPinList> Pins() override {
    return Answer<THostileList<IHostPinList>>(FPlan, FInner->Pins());
  }
  std::string Name() override { return FInner->Name(); }
  int32_t SymbolType() override { return FInner->SymbolType(); }
};

class THostileLine : public THostileProxy<IHostLine> {
 public:
  using THostileProxy::THostileProxy;
  std::shared_ptr<IHostVertexList> Vertices() override {
    return Answer<THostileList<IHostVertexList>>(FPlan, FInner->Vertices());
  }
  std::shared_ptr<IHostLayer> Layer() override { return Answer(FPlan, FInner->Layer()); }
  bool Active() override { return FInner->Active(); }
  bool Electric() override { return FInner->Electric(); }
  bool Jumper() override { return FInner->Jumper(); }
  bool Cable() override { return FInner->Cable(); }
  int32_t Handle() override { return FInner->Handle(); }
};

class THostilePage : public THostileProxy<IPCsPage> {
 public:
  using THostileProxy::THostileProxy;
  std::shared_ptr<IHostLineList> Lines() override {
    return Answer<THostileList<IHostLineList, THostileLine>>(FPlan, FInner->Lines());
  }
  std::shared_ptr<IHostSymbolList> Symbols() override {
    return Answer<THostileList<IHostSymbolList, THostileSymbol>>(FPlan, FInner->Symbols());
  }
  int32_t PageKind() override { return FInner->PageKind(); }
};

class THostileDocument : public THostileProxy<IHostDocument> {
 public:
  using THostileProxy::THostileProxy;
  std::shared_ptr<IHostPageList> Pages() override {
    return Answer<THostileList<IHostPageList, THostilePage>>(FPlan, FInner->Pages());
  }
  std::shared_ptr<IHostSymbol> SymbolByHandle(int32_t APage, int32_t AHandle) override {
    return Answer<THostileSymbol>(FPlan, FInner->SymbolByHandle(APage, AHandle));
  }
};

class THostileProject : public THostileProxy<IHostProject> {
 public:
  using THostileProxy::THostileProxy;
  std::shared_ptr<IHostDocument> Document() override {
    return Answer<THostileDocument>(FPlan, FInner->Document());
  }
  int32_t ProjectHandle() override { return FInner->ProjectHandle(); }
};

// The application object of a hostile host over AInner, which must also offer the host
// services; those are passed on as they are.
class THostileHost : public IPCsApplication, public IHostServices {
 public:
  THostileHost(TPlanPtr APlan, std::shared_ptr<IPCsApplication> AInner)
      : FPlan(std::move(APlan)), FInner(std::move(AInner)), FServices(QueryHostServices(FInner)) {}

  std::shared_ptr<IHostProject> Project() override {
    return Answer<THostileProject>(FPlan, FInner->Project());
  }
  std::array<std::string, 4> GetSignalNames(int32_t APage, int32_t AHandle) override {
    return FServices->GetSignalNames(APage, AHandle);
  }
  int32_t GetStatus() override { return FServices->GetStatus(); }
  void SelectProject(int32_t AHandle) override { FServices->SelectProject(AHandle); }
  void BuildConnectionList(int32_t AFirst, int32_t ASecond) override {
    FServices->BuildConnectionList(AFirst, ASecond);
  }
  void ReleaseConnectionList() override { FServices->ReleaseConnectionList(); }
  int32_t ConnectionCount() override { return FServices->ConnectionCount(); }
  std::vector<TVariant> GetConnection(int32_t AIndex, int32_t AFields) override {
    return FServices->GetConnection(AIndex, AFields);
  }

 private:
  TPlanPtr FPlan;
  std::shared_ptr<IPCsApplication> FInner;
  std::shared_ptr<IHostServices> FServices;
};

}  // namespace wiremap
