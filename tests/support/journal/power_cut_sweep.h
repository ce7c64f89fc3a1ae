// A change to an image run again and again in a child process, the power cut after each file
// call it makes in turn and after its end, the disk keeping all, none or a seeded choice of what
// was not synced; after each cut the image is opened again and checked against what the change
// promised. Linux only: the cut is the preload fault shim's (power_cut.h).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "image/file_error.h"

namespace tavrel::testing {

// What the change told its user: its exit status (0 for done) and its words.
struct Outcome {
    int status = 0;
    std::string said;
};

struct PowerCutSweep {
    std::string image;  // in a folder holding nothing but the files the change reads and writes
    std::function<Outcome()> change;
    // The image between the changes the change makes one after another (changes - 1 of them).
    std::vector<Bytes> between;
    int changes = 1;  // how many the change adds to the log's history
    // Set in the swept runs (not the first, uncut one): a file call fails, so the change must
    // report failure and leave the image as it was.
    std::string fault;
};

struct SweepCount {
    int cuts = 0;   // cut points, the cut after the change's end included
    int cases = 0;  // cut points times the drop patterns tried at each
};

// Runs `sweep.change` once uncut, for what it writes and lists, then at every cut point with
// every drop pattern, and checks after each cut, by opening the image again:
//   - the image is wholly as it was before, between or after the changes;
//   - the history lists exactly the changes the image holds, unless the opening reported the
//     log damaged or not the image's;
//   - a change that reported its end had its way: done and listed, or failed and not in the
//     image; files it wrote (other than the image and its log) are whole, or absent when it did
//     not report them written;
//   - a second opening reports nothing and lists the same.
// The folder is put back as it was after each case.
SweepCount sweepPowerCuts(const PowerCutSweep& sweep);

}  // namespace tavrel::testing
