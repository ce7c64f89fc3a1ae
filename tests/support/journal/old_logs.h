// Change logs as the first version of Tavrel wrote them, for the tests of reading and upgrading
// them: a 16-byte header, bodies with one undone change (0 for none) and no sector count, and a
// one-byte state after each body.
#pragma once

#include <vector>

#include "journal/change_record.h"

namespace tavrel::testing {

Bytes versionOneLog(const std::vector<ChangeRecord>& records);

}  // namespace tavrel::testing
