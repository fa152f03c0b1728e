#include <gtest/gtest.h>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/base/Strings.h"

using namespace base;

TEST(StringList, TextSplitsOnAnyLineEndAndIndexesAreChecked) {
  TStringList L;
  L.SetText("one\r\ntwo\rthree\n\nfive");
  ASSERT_EQ(L.Count(), 5);
  EXPECT_EQ(L.Strings(2), "three");
  EXPECT_EQ(L.Strings(3), "");
  EXPECT_EQ(L.Text(), "one\ntwo\nthree\n\nfive\n");
  EXPECT_EQ(L.IndexOf("five"), 4);
  EXPECT_EQ(L.IndexOf("six"), -1);
  try {
    L.Strings(5);
    FAIL();
  } catch (const EListError& E) {
    EXPECT_STREQ(E.what(), "List index out of bounds (5)");
  }
  EXPECT_THROW(L.Delete(-1), EListError);
  L.Insert(5, "end");
  EXPECT_EQ(L.Count(), 6);
}

TEST(StringList, AssignAndStreamRoundTrip) {
  TStringList A{"x", "y"}, B;
  B.Assign(&A);
  EXPECT_EQ(B.Text(), "x\ny\n");
  TMemoryStream S;
  B.SaveToStream(S);
  S.SetPosition(0);
  TStringList C;
  C.LoadFromStream(S);
  EXPECT_EQ(C.Count(), 2);
  EXPECT_EQ(C.Strings(1), "y");
}
