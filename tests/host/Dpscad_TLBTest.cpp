#include "host/Dpscad_TLB.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace wiremap {
namespace {

TEST(VariantToIntTest, WholeNumbersOnly) {
  struct TCase {
    TVariant Value;
    std::optional<int32_t> Expected;
  };
  const std::vector<TCase> Cases{{int32_t{-7}, -7},
                                 {3.0, 3},
                                 {-2147483648.0, std::numeric_limits<int32_t>::min()},
                                 {2.5, std::nullopt},
                                 {2147483648.0, std::nullopt},
                                 {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
                                 {std::string("12"), std::nullopt},
                                 {std::monostate{}, std::nullopt}};
  for (size_t I = 0; I < Cases.size(); ++I) {
    if (Cases[I].Expected)
      EXPECT_EQ(VariantToInt(Cases[I].Value), *Cases[I].Expected) << "case " << I;
    else
      EXPECT_THROW(VariantToInt(Cases[I].Value), EVariantTypeCastError) << "case " << I;
  }
}

TEST(CoApplicationFactoryTest, NoObjectIsAnErrorAndAnObjectWithoutServicesIsRefused) {
  class TBare : public IPCsApplication {
   public:
    std::shared_ptr<IHostProject> Project() override { return nullptr; }
  };
  SetHostFactory([] { return std::shared_ptr<IPCsApplication>(); });
  EXPECT_THROW(CoApplication::Create(), EOleSysError);
  SetHostFactory([] { return std::make_shared<TBare>(); });
  const auto Bare = CoApplication::Create();
  SetHostFactory({});
  EXPECT_THROW(QueryHostServices(Bare), EIntfCastError);
}

}  // namespace
}  // namespace wiremap
