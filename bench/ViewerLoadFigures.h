#pragma once
// What the viewer's load is held against: the bare reading of the changes files with one listing
// of every folder that holds rows, the memory the rows take, and the figures measured before the
// lists became owner-data lists.
#include <cstddef>
#include <string>

#include "review/ChangeSet.h"

namespace quillon::bench {

// Seconds to read the four changes files of `work` line by line and list each folder a block
// of "changes.qdb" names, reading every entry: the least any load that checks the rows costs.
// `folders` gets the number of folders listed.
double bareReadAndCheck(const std::string& work, std::size_t& folders);

// The bytes the program's objects hold on the heap now, with the heap's own cost per block
// (ViewerLoadHeap.cpp).
double heapBytes();

// The bytes of the rows' texts (with one terminating byte each): what the memory target leaves out.
double rowTextBytes(const review::ChangeSet& changes);

// Figures of the same benchmark at 5d7f1e3 (one insertion per row), seconds; < 0: not measured.
struct EarlierFigures {
    std::size_t rows;
    double load;            // loadChanges alone
    double windowRealShell; // until the rows were in the list: also the first paint with rows
    double windowInstantShell;
};
const EarlierFigures* earlierFigures(std::size_t rows);

}  // namespace quillon::bench
