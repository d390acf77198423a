// myList: shapes after Resize, PushBack and Remove, copies, searches, layouts
// and the fatal index messages.
#include <gtest/gtest.h>

#include <sstream>

#include "gdata/myList.h"
#include "support/capture.h"

TEST(myList, ResizeKeepsContentsOnlyForTheSameShape) {
  myList<long double> a;
  EXPECT_EQ(a.Length(), 0);
  a.Resize(5);
  for (long i = 0; i < 5; i++) a(i) = i;
  a.Resize(5);
  EXPECT_EQ(a(4), 4.0L);
  a.Resize(2, 3, 7.5L);
  EXPECT_EQ(a.NRow(), 2);
  EXPECT_EQ(a.NCol(), 3);
  a(5) = 1.0L;
  a.Resize(2, 3, 0.5L);  // same shape: every element overwritten anyway
  for (long i = 0; i < 6; i++) EXPECT_EQ(a(i), 0.5L);
  a.Resize(0);
  EXPECT_EQ(a.NRow(), 0);
  EXPECT_EQ(a.NCol(), 1);
}

TEST(myList, PushBackAndRemoveChangeOneDimensionalListsByOneElement) {
  myList<int> a;
  a.PushBack(1);
  EXPECT_EQ(a.NRow(), 1);
  EXPECT_EQ(a.NCol(), 1);
  a.PushBack(5);
  a.PushBack(12);
  EXPECT_EQ(a.NRow(), 3);
  EXPECT_EQ(a.NCol(), 1);
  a.Remove(1);
  ASSERT_EQ(a.Length(), 2);
  EXPECT_EQ(a(0), 1);
  EXPECT_EQ(a(1), 12);
  a.Remove(0);
  a.Remove(0);
  EXPECT_EQ(a.NRow(), 0);
  EXPECT_EQ(a.NCol(), 0);

  myList<int> row;
  row.Resize(1, 3, 0);
  row.PushBack(4);
  EXPECT_EQ(row.NRow(), 1);
  EXPECT_EQ(row.NCol(), 4);
  row.Remove(0);
  EXPECT_EQ(row.NCol(), 3);

  myList<int> col;
  col.Resize(0);
  col.PushBack(9);
  EXPECT_EQ(col.NRow(), 1);
  EXPECT_EQ(col.NCol(), 1);
}

TEST(myList, InvalidPushBackAndRemoveWarnAndLeaveTheListUnchanged) {
  CaptureResult r = RunCaptured([] {
    myList<int> sq;
    sq.Resize(2, 2, 3);
    sq.PushBack(1);
    sq.Remove(0);
    myList<int> a;
    a.PushBack(1);
    a.PushBack(2);
    a.PushBack(3);
    a.Remove(3);
    a.Remove(-1);
    myList<int> e;
    e.Remove(0);
    std::cout << sq.Length() << " " << a.Length();
  });
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "4 3");
  EXPECT_EQ(r.err,
            WarningFrame("Function:   myList::PushBack(IT)", "PushBack function works for 1-D lists!") +
                WarningFrame("Function:   myList::Remove(long)", "Remove function works for 1-D lists!") +
                WarningFrame("Function:   myList::Remove(long)",
                             "Index of to-be-removed item not in range: i=3 not in [0,2]") +
                WarningFrame("Function:   myList::Remove(long)",
                             "Index of to-be-removed item must not be negative: i=-1") +
                WarningFrame("Function:   myList::Remove(long)",
                             "Index of to-be-removed item not in range: i=0 not in [0,-1]"));
}

TEST(myList, AccessOutsideTheListIsFatal) {
  CaptureResult unset = RunCaptured([] {
    myList<int> a;
    a(0) = 1;
  });
  EXPECT_EQ(unset.exitCode, 1);
  EXPECT_EQ(unset.err, ErrorFrame("Operator:   myList::()", "List is not set: dim = (0,0)"));

  CaptureResult zero = RunCaptured([] {
    myList<int> a;
    a.Resize(0);
    a(0) = 1;
  });
  EXPECT_EQ(zero.err, ErrorFrame("Operator:   myList::()", "List is not set: dim = (0,0)"));

  CaptureResult range = RunCaptured([] {
    myList<int> a;
    a.Resize(3);
    a(3) = 1;
  });
  EXPECT_EQ(range.exitCode, 1);
  EXPECT_EQ(range.err,
            ErrorFrame("Operator:   myList::()", "List index not in range: i=3 not in [0,2]"));
  CaptureResult neg = RunCaptured([] {
    myList<int> a;
    a.Resize(3);
    a(-1) = 1;
  });
  EXPECT_EQ(neg.err,
            ErrorFrame("Operator:   myList::()", "List index not in range: i=-1 not in [0,2]"));
}

TEST(myList, AssignmentFindAndIndexFirst) {
  myList<int> a, b;
  a.PushBack(4);
  a.PushBack(7);
  a.PushBack(4);
  b = a;
  a(0) = 0;
  EXPECT_EQ(b.Length(), 3);
  EXPECT_EQ(b(0), 4);  // deep copy
  EXPECT_EQ(b.IndexFirst(4), 0);
  EXPECT_EQ(a.IndexFirst(4), 2);
  EXPECT_TRUE(b.Find(7));
  EXPECT_FALSE(b.Find(8));
  EXPECT_EQ(b.IndexFirst(8), -1);
  b = b;
  EXPECT_EQ(b.Length(), 3);
  myList<int> e;
  EXPECT_FALSE(e.Find(0));
  EXPECT_EQ(e.IndexFirst(0), -1);
}

TEST(myList, StreamLayouts) {
  myList<int> a;
  a.PushBack(1);
  a.PushBack(5);
  a.PushBack(12);
  std::ostringstream raw, emp, orig, none, none2;
  iomlns::PrintType = iomlns::RAW;
  raw << a;
  EXPECT_EQ(raw.str(), "  3 > 1 5 12");
  myList<int> e;
  none << e;
  EXPECT_EQ(none.str(), "  0 > \n\t... UNDEFINED ...");
  e.Resize(0);
  none2 << e;
  EXPECT_EQ(none2.str(), "  0 > \n\t... UNDEFINED ...");
  iomlns::PrintType = iomlns::EMPTY;
  emp << a;
  EXPECT_EQ(emp.str(), "1512");
  iomlns::PrintType = iomlns::ORIGINAL;
  myList<double> d;
  d.Resize(1, 2, 0.5);
  orig << d;
  EXPECT_EQ(orig.str(), "\nLIST: [ 1 , 2 ]-> \n    0.5000    0.5000\n");
  EXPECT_TRUE(orig.flags() & std::ios::fixed);
}
