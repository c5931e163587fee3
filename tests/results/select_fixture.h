#pragma once
// Small results for the selection tests: groups written as lists of rows, the states read back
// as "[100][01]", and the counters recounted from the rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "results/result_tree.h"

namespace twinex::test {

struct Row {
  std::string name;
  std::string path = "/data";
  std::uint64_t size = 100;
  double date = 45000;  // modified
  bool selected = false;
  bool protectedFile = false;
  int similar = 0;
};

inline ResultTree BuildTree(std::initializer_list<std::initializer_list<Row>> groups) {
  ResultTree t;
  int n = 0;
  for (const auto& rows : groups) {
    ResultGroup& g = t.AddGroup("g" + std::to_string(++n));
    for (const Row& r : rows) {
      ResultFile f;
      f.dupname = r.name;
      f.path = r.path;
      f.size = r.size;
      f.dateVal = r.date;
      f.dateEval = r.date;
      f.selected = r.selected;
      f.protectedFile = r.protectedFile;
      f.similar = r.similar;
      t.AddFile(g, f);
    }
  }
  return t;
}

inline std::string States(const ResultTree& t) {
  std::string s;
  for (const ResultGroup& g : t.groups) {
    s += "[";
    for (const ResultFile& f : g.files) s += f.selected ? "1" : "0";
    s += "]";
  }
  return s;
}

// Every counter recounted from the rows must equal the one kept on the way.
inline void ExpectCountersExact(const ResultTree& t) {
  std::int64_t selected = 0;
  std::uint64_t selectedBytes = 0;
  for (const ResultGroup& g : t.groups) {
    int groupSel = 0;
    for (const ResultFile& f : g.files)
      if (f.selected) selected += 1, selectedBytes += f.size, groupSel += 1;
    EXPECT_EQ(g.Sel, groupSel) << g.dupname;
  }
  EXPECT_EQ(t.counters.DupCountSelected, selected);
  EXPECT_EQ(t.counters.FilesizeSelected, selectedBytes);
}

}  // namespace twinex::test
