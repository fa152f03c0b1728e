#include <gtest/gtest.h>

#include "platform/base/Exceptions.h"
#include "platform/base/Persistent.h"

using namespace base;

namespace {

class TApple : public TPersistent {
 public:
  ANIMORA_CLASS(TApple)
};

class TPear : public TPersistent {
 public:
  ANIMORA_CLASS(TPear)
  int Seeds = 0;
  void Assign(const TPersistent* Source) override {
    if (const auto* Pear = dynamic_cast<const TPear*>(Source)) {
      Seeds = Pear->Seeds;
      return;
    }
    TPersistent::Assign(Source);
  }
  void AssignTo(TPersistent* Dest) const override {
    if (auto* Apple = dynamic_cast<TApple*>(Dest)) {
      (void)Apple;
      return;
    }
    TPersistent::AssignTo(Dest);
  }
};

}  // namespace

TEST(Persistent, AssignFallsBackToTheSourceThenFailsWithBothClassNames) {
  TApple Apple;
  TPear Pear, Other;
  Other.Seeds = 4;
  Pear.Assign(&Other);
  EXPECT_EQ(Pear.Seeds, 4);
  EXPECT_NO_THROW(Apple.Assign(&Pear));  // the pear knows how to become an apple
  try {
    Pear.Assign(&Apple);
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_STREQ(E.what(), "Cannot assign a TApple to a TPear");
  }
  try {
    Pear.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_STREQ(E.what(), "Cannot assign a nil to a TPear");
  }
}
